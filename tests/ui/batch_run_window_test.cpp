// Batch runs from the dashboard on a worker thread: the portraits and the end message, a cancelled
// run that keeps what it made, and the window answering while a run goes.

#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QSpinBox>
#include <QTimer>
#include <set>

#include "app/batch_runs.h"
#include "portrait/png_image.h"
#include "window_fixture.h"

namespace likentor {
namespace {

using test::WindowTest;

// Every player may have a portrait: minimums 0 as shown on the dashboard (not saved).
void WantEveryone(QSpinBox* ab, QSpinBox* ip) {
  ab->setValue(0);
  ip->setValue(0);
}

TEST_F(WindowTest, TeamRunThenUniverseRunWithTheSettingsAsShown) {
  LoadSample();
  const auto before = Players();
  auto* teams = Find<QComboBox>("TeamLookupBox");
  teams->setCurrentIndex(1);
  const int teamId = teams->itemData(1).toInt();
  prompts_.ClearHistory();
  RunAndWait("TeamGoBtn");

  std::set<int> team;
  for (const auto& [id, row] : before) {
    if (row.teamId == teamId && row.updateRequired && !row.locked) team.insert(id);
  }
  ASSERT_FALSE(team.empty());
  EXPECT_EQ(Messages(), std::vector<std::string>{"Successfully created " +
                                                 std::to_string(team.size()) + " photos."});
  for (int id : team) {
    const PngImage portrait = PngImage::Load(Portrait(id));
    EXPECT_EQ(portrait.Width(), 90);
    EXPECT_EQ(portrait.Height(), 135);
  }
  EXPECT_EQ(Status(), "sample.lg loaded.");
  EXPECT_FALSE(Find("ProgressBar")->isVisible());
  EXPECT_TRUE(Find("UniverseGoBtn")->isEnabled());

  WantEveryone(Find<QSpinBox>("ActMinABEdit"), Find<QSpinBox>("ActMinIPEdit"));
  prompts_.ClearHistory();
  RunAndWait("UniverseGoBtn");
  int made = 0;
  for (const auto& [id, row] : Players()) {
    const bool wanted = before.at(id).updateRequired && !row.locked && !team.contains(id);
    EXPECT_EQ(row.updateRequired, before.at(id).updateRequired && !wanted && !team.contains(id))
        << id;
    if (wanted) {
      ++made;
      EXPECT_TRUE(std::filesystem::exists(Portrait(id))) << id;
    }
  }
  EXPECT_GT(made, 0);
  // A universe run's message names the level scope it used.
  EXPECT_EQ(Messages(), std::vector<std::string>{"Successfully created " + std::to_string(made) +
                                                 " photos (All Levels)."});
}

TEST_F(WindowTest, CancelledRunKeepsWhatItMade) {
  LoadSample();
  WantEveryone(Find<QSpinBox>("ActMinABEdit"), Find<QSpinBox>("ActMinIPEdit"));
  const auto before = Players();
  auto* bar = Find<QProgressBar>("ProgressBar");
  auto* cancel = Find<QPushButton>("CancelRunBtn");
  // Once the run reports its first portrait, it waits until Cancel was clicked on the window's
  // thread, so that the run is stopped half-way whatever the machine's speed.
  QSemaphore clicked;
  bool asked = false;
  session_->Progress().SetListener([&](const ProgressReport& report) {
    if (asked || report.position == 0) return;
    asked = true;
    QMetaObject::invokeMethod(
        cancel,
        [&] {
          cancel->click();
          clicked.release();
        },
        Qt::QueuedConnection);
    clicked.acquire();
  });
  prompts_.ClearHistory();
  RunAndWait("UniverseGoBtn");
  session_->Progress().SetListener({});

  int made = 0;
  int wanted = 0;
  for (const auto& [id, row] : Players()) {
    if (before.at(id).updateRequired && !row.locked) ++wanted;
    if (before.at(id).updateRequired && !row.updateRequired) {
      ++made;
      EXPECT_TRUE(std::filesystem::exists(Portrait(id))) << id;
    }
  }
  EXPECT_GT(made, 0);
  EXPECT_LT(made, wanted);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Stopped after " + std::to_string(made) +
                                                 " photos (All Levels)."});
  EXPECT_FALSE(bar->isVisible());

  // The next run goes on with the players still flagged.
  prompts_.ClearHistory();
  RunAndWait("UniverseGoBtn");
  EXPECT_EQ(Messages(),
            std::vector<std::string>{"Successfully created " + std::to_string(wanted - made) +
                                     " photos (All Levels)."});
}

// Counts the times a widget was shown: a fast run shows and hides its progress between two ticks.
class ShowCounter : public QObject {
 public:
  int shown = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) ++shown;
    return QObject::eventFilter(watched, event);
  }
};

TEST_F(WindowTest, WindowAnswersWhileARunGoes) {
  LoadSample();
  ShowCounter progressRow;
  Find("ProgressRow")->installEventFilter(&progressRow);
  WantEveryone(Find<QSpinBox>("ActMinABEdit"), Find<QSpinBox>("ActMinIPEdit"));
  int ticksDuringRun = 0;
  bool commandsDisabled = false;
  QTimer ticker;
  ticker.setInterval(1);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    if (!window_->RunGoing()) return;
    ++ticksDuringRun;
    commandsDisabled = !Find<QAction>("LoadGame1")->isEnabled() &&
                       !Find("UniverseGoBtn")->isEnabled() && !Find("ActMinABEdit")->isEnabled();
  });
  ticker.start();
  RunAndWait("UniverseGoBtn");
  ticker.stop();
  EXPECT_GT(ticksDuringRun, 0);
  EXPECT_GT(progressRow.shown, 0);
  EXPECT_FALSE(Find("ProgressRow")->isVisible());
  EXPECT_TRUE(commandsDisabled);
  EXPECT_TRUE(Find<QAction>("LoadGame1")->isEnabled());
}

}  // namespace
}  // namespace likentor
