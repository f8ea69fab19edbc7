// The window with the keyboard alone and through a screen reader's eyes (QAccessible on the
// offscreen platform): Tab walks every page and leaves every grid, the shortcuts run their
// commands, a page opens with the focus on its first control, every control has a role and a
// name of its own, labels read their texts, the status is told, and a change made through the
// accessibility actions is stored as one made with the mouse.

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <set>

#include "app/navigation.h"
#include "app/photo_locks.h"
#include "database/table_store.h"
#include "import/players_fields.h"
#include "page_fixture.h"
#include "shell/folders.h"
#include "ui/about_box.h"
#include "ui/navigator.h"
#include "ui/safe_run_dialogs.h"

namespace likentor {
namespace {

using test::PageTest;

// A control the user reaches with Tab, as Qt's own Tab chain counts them.
bool Reachable(const QWidget* w) {
  return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisible() && w->isEnabled() &&
         w->focusProxy() == nullptr;
}

// The widget a screen reader speaks of for a control: a spin box's own text field is the spin
// box to it.
QWidget* Spoken(QWidget* w) {
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(w->parentWidget())) return spin;
  return w;
}

std::string Describe(const QWidget* w) {
  if (w == nullptr) return "(none)";
  return (w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName())
      .toStdString();
}

class KeyboardAccessTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    if (IsSkipped()) return;
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }

  QStackedWidget* Pages() const { return Find<QStackedWidget>("PageControl"); }

  // Shows page `index` as the session does, with the events that follow handled.
  void ShowPage(int index) {
    Pages()->setCurrentIndex(index);
    QCoreApplication::processEvents();
  }

  // A search that finds some players: the player page with rows, the first not locked.
  void SearchPlayers() {
    std::string last;
    {
      Database db(DataFolder(program_));
      Table t(db, "sample_players.db");
      for (t.First(); !t.Eof() && last.empty(); t.Next()) {
        if (!t.GetBool(kLockedField)) last = t.GetText(kLastNameField);
      }
    }
    Find<QLineEdit>("FirstNameBox")->setText("");
    Find<QLineEdit>("LastNameBox")->setText(QString::fromStdString(last));
    Find<QSpinBox>("PlayerIDBox")->setValue(0);
    Click("PlayerSearchBtn");
    QCoreApplication::processEvents();
  }

  static std::vector<QWidget*> Controls(QWidget* root) {
    std::vector<QWidget*> controls;
    for (QWidget* w : root->findChildren<QWidget*>()) {
      if (Reachable(w)) controls.push_back(w);
    }
    return controls;
  }

  QWidget* Focused() const { return QApplication::focusWidget(); }

  // Tab pressed on the focused control.
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focused = Focused();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
  }

  // The accessibility walk of one page or dialog.
  static void WalkAccessibility(QWidget* root) {
    SCOPED_TRACE(Describe(root));
    std::map<QString, std::string> names;  // name -> control
    for (QWidget* control : Controls(root)) {
      QWidget* spoken = Spoken(control);
      QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(spoken);
      ASSERT_NE(iface, nullptr) << Describe(spoken);
      EXPECT_NE(iface->role(), QAccessible::NoRole) << Describe(spoken);
      const QString name = iface->text(QAccessible::Name);
      EXPECT_FALSE(name.trimmed().isEmpty()) << Describe(spoken);
      // The text field of an editable drop-down has a name of its own.
      if (auto* box = qobject_cast<QComboBox*>(spoken); box != nullptr && box->lineEdit()) {
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(box->lineEdit());
        ASSERT_NE(field, nullptr);
        EXPECT_FALSE(field->text(QAccessible::Name).isEmpty()) << Describe(spoken);
      }
      const auto [it, fresh] = names.emplace(name, Describe(spoken));
      EXPECT_TRUE(fresh || it->second == Describe(spoken))
          << "\"" << name.toStdString() << "\" names both " << it->second << " and "
          << Describe(spoken);
    }
    // A label reads its own text (an access key's "&" aside).
    for (QLabel* label : root->findChildren<QLabel*>()) {
      if (!label->isVisible() || label->text().isEmpty()) continue;
      QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(label);
      ASSERT_NE(iface, nullptr);
      QString text = label->text();
      text.remove(QRegularExpression("&(?=[^&])"));
      if (Qt::mightBeRichText(text)) continue;
      EXPECT_EQ(iface->text(QAccessible::Name).toStdString(), text.toStdString())
          << Describe(label);
    }
  }
};

TEST_F(KeyboardAccessTest, TabLeavesEveryGridAndReachesEveryControlOfEveryPage) {
  LoadSample();
  SearchPlayers();
  ASSERT_EQ(Page(), kPlayerPage);
  for (int page = 0; page < Pages()->count(); ++page) {
    ShowPage(page);
    QWidget* shown = Pages()->currentWidget();
    SCOPED_TRACE(Describe(shown));
    const std::vector<QWidget*> controls = Controls(shown);
    ASSERT_FALSE(controls.empty());

    // Every grid is left by Tab, Shift+Tab and Ctrl+Tab, to a control of the page.
    for (DataGrid* grid : shown->findChildren<DataGrid*>()) {
      for (const auto& [key, modifiers] : std::vector<std::pair<int, Qt::KeyboardModifiers>>{
               {Qt::Key_Tab, Qt::NoModifier},
               {Qt::Key_Backtab, Qt::ShiftModifier},
               {Qt::Key_Tab, Qt::ControlModifier},
               {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier}}) {
        grid->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(Focused(), grid);
        Press(key, modifiers);
        EXPECT_NE(Focused(), grid)
            << Describe(grid) << " kept key " << key << " with modifiers " << modifiers.toInt();
        EXPECT_TRUE(shown->isAncestorOf(Focused())) << Describe(Focused());
      }
      // The arrow keys move between its cells.
      grid->setFocus(Qt::TabFocusReason);
      grid->GoTo(0);
      const QModelIndex before = grid->currentIndex();
      Press(Qt::Key_Right);
      EXPECT_EQ(grid->currentIndex().column(), before.column() + 1) << Describe(grid);
    }

    // Tab from the first control walks through every control of the page and comes back.
    controls.front()->setFocus(Qt::TabFocusReason);
    std::set<QWidget*> reached{Focused()};
    for (std::size_t i = 0; i < controls.size() * 2 + 2; ++i) {
      Press(Qt::Key_Tab);
      reached.insert(Focused());
    }
    for (QWidget* control : controls) {
      EXPECT_TRUE(reached.count(control)) << Describe(control) << " not reached";
    }
  }
}

TEST_F(KeyboardAccessTest, NavigatorButtonsTakeFocusAndEnterPostsEscapeCancels) {
  LoadSample();
  Trigger("HairData1");
  ASSERT_EQ(Page(), kFacialHairPage);
  DataGrid* grid = Grid("FacialHairGrid");
  auto* navigator = Find<Navigator>("FacialHairNavigator");
  for (QAction* action : navigator->actions()) {
    QWidget* button = navigator->widgetForAction(action);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->focusPolicy() & Qt::TabFocus) << action->text().toStdString();
  }

  // A typed frequency, Escape: the row is as stored.
  const QString stored = Cell("FacialHairGrid", 0, "frequency");
  const QString typed = QString::number(stored.toInt() + 7);
  ASSERT_TRUE(SetCell("FacialHairGrid", 0, "frequency", typed));
  ASSERT_TRUE(grid->Model()->InEdit());
  grid->setFocus();
  Press(Qt::Key_Escape);
  EXPECT_FALSE(grid->Model()->InEdit());
  EXPECT_EQ(Cell("FacialHairGrid", 0, "frequency"), stored);

  // Typed again, Enter: posted.
  ASSERT_TRUE(SetCell("FacialHairGrid", 0, "frequency", typed));
  Press(Qt::Key_Return);
  EXPECT_FALSE(grid->Model()->InEdit());
  grid->Model()->Refresh();
  EXPECT_EQ(Cell("FacialHairGrid", 0, "frequency"), typed);

  // Typed in the cell's editor, Enter there: the value is kept and the row posted.
  const QString again = QString::number(typed.toInt() + 1);
  const auto openEditor = [&]() -> QLineEdit* {
    grid->setFocus();
    grid->setCurrentIndex(grid->Model()->index(0, grid->Model()->FieldIndex("frequency")));
    grid->edit(grid->currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(Focused());
    if (editor != nullptr) editor->selectAll();
    return editor;
  };
  QLineEdit* editor = openEditor();
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, again);
  ASSERT_EQ(editor->text(), again);
  QTest::keyClick(editor, Qt::Key_Return);
  // The cell editor hands its value over once it has taken the key.
  QCoreApplication::processEvents();
  EXPECT_TRUE(Errors().empty()) << Errors().front();
  EXPECT_FALSE(grid->Model()->InEdit());
  grid->Model()->Refresh();
  EXPECT_EQ(Cell("FacialHairGrid", 0, "frequency"), again);

  // Tab in the cell's editor: kept, and the focus leaves the grid.
  editor = openEditor();
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, stored);
  QTest::keyClick(editor, Qt::Key_Tab);
  EXPECT_FALSE(grid->isAncestorOf(Focused()) || Focused() == grid);
  EXPECT_EQ(Cell("FacialHairGrid", 0, "frequency"), stored);

  // The current cell is framed while the grid has the focus.
  grid->setFocus();
  grid->setCurrentIndex(grid->Model()->index(1, 1));
  const QRect cell = grid->visualRect(grid->currentIndex());
  const QImage focused = grid->viewport()->grab().toImage();
  Find<QPushButton>("FacialHairDone")->setFocus();
  const QImage unfocused = grid->viewport()->grab().toImage();
  const QPoint edge(cell.center().x(), cell.top() + 1);
  EXPECT_NE(focused.pixel(edge), unfocused.pixel(edge));
}

TEST_F(KeyboardAccessTest, ShortcutsRunTheirCommands) {
  EXPECT_EQ(Find<QAction>("LoadGame1")->text(), "&Load Game...");
  prompts_.AnswerFolder(SavedGameFolder(game_, "sample"));
  QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(Caption(), "Likentor: sample");

  prompts_.ClearHistory();
  QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(Messages(), std::vector<std::string>{"There is no photo run of sample to undo."});

  QTest::keyClick(window_.get(), Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(Caption(), "Likentor");
  EXPECT_EQ(Status(), "No game loaded.");

  QTest::keyClick(window_.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(KeyboardAccessTest, APageOpensWithTheFocusOnItsFirstControl) {
  LoadSample();
  QCoreApplication::processEvents();
  EXPECT_EQ(Describe(Focused()), "DBCheckBox1");
  SearchPlayers();
  ASSERT_EQ(Page(), kPlayerPage);
  EXPECT_EQ(Describe(Focused()), "PlayersSearchResults");
  Click("PlayerDone");
  QCoreApplication::processEvents();
  EXPECT_EQ(Describe(Focused()), "DBCheckBox1");
  Trigger("ManageLockedPhotos1");
  QCoreApplication::processEvents();
  EXPECT_EQ(Describe(Focused()), "LocksMemo");
  Trigger("CustomUniforms1");
  QCoreApplication::processEvents();
  EXPECT_EQ(Describe(Focused()), "DBGrid1");
}

TEST_F(KeyboardAccessTest, LockAllAsksWithTheCountAndTellsIt) {
  LoadSample();
  Trigger("ManageLockedPhotos1");
  std::set<int> retired;
  {
    Database db(DataFolder(program_));
    Table t(db, "sample_players.db");
    for (t.First(); !t.Eof(); t.Next()) {
      if (t.GetBool(kRetiredField)) retired.insert(t.GetInt(kPlayerIdField));
    }
  }
  ASSERT_FALSE(retired.empty());
  const int count = static_cast<int>(retired.size());
  const auto before = Players();
  prompts_.ClearHistory();
  prompts_.AnswerConfirm(false);
  Click("Button4");
  EXPECT_EQ(prompts_.Texts(ScriptedPrompts::Kind::Confirm),
            std::vector<std::string>{LocksQuestion(LockScope::Retired, true, count)});
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Players(), before);

  prompts_.ClearHistory();
  prompts_.AnswerConfirm(true);
  Click("Button4");
  EXPECT_EQ(Messages(), std::vector<std::string>{LocksDoneText(LockScope::Retired, true, count)});
  for (const auto& [id, player] : Players()) {
    EXPECT_EQ(player.locked, retired.count(id) > 0 || before.at(id).locked) << id;
  }
}

TEST_F(KeyboardAccessTest, EveryPageAndDialogReadsWellToAScreenReader) {
  LoadSample();
  SearchPlayers();
  for (int page = 0; page < Pages()->count(); ++page) {
    ShowPage(page);
    WalkAccessibility(Pages()->currentWidget());
  }

  // The labels that show data read the data.
  ShowPage(kPlayerPage);
  auto* first = Find<QLabel>("DBText1");
  ASSERT_FALSE(first->text().isEmpty());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(first)->text(QAccessible::Name), first->text());

  // The pictures say what they show.
  ClickAndWait("SeeCurrentPhotoBtn");
  const QString player = first->text() + " " + Find<QLabel>("DBText2")->text();
  const QString portrait =
      QAccessible::queryAccessibleInterface(Find("PlayerPreviewImage"))->text(QAccessible::Name);
  EXPECT_TRUE(portrait.contains(player)) << portrait.toStdString();
  Trigger("CustomUniforms1");
  Click("GetUniformPreviewBtn");
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(Find("CustomUniformPreview"))
                  ->text(QAccessible::Name)
                  .startsWith("Uniform of the "));

  // The dialogs.
  window_->About()->show();
  WalkAccessibility(window_->About());
  window_->About()->hide();
  Trigger("KeptRuns1");
  auto* kept = window_->findChild<KeptRunsDialog*>();
  ASSERT_NE(kept, nullptr);
  WalkAccessibility(kept);
  kept->reject();
  Trigger("HomePage1");
  Click("UniverseDryRunBtn");
  auto* dryRun = window_->findChild<DryRunDialog*>();
  ASSERT_NE(dryRun, nullptr);
  WalkAccessibility(dryRun);
  dryRun->reject();
}

TEST_F(KeyboardAccessTest, TheStatusReadsAsItsText) {
  // The label's name is its text: with no name of its own, the label tells screen readers of each
  // new text (the platform's bridge sends the change; offscreen there is none to watch).
  auto* status = Find<QLabel>("StatusText");
  const auto spoken = [status] {
    return QAccessible::queryAccessibleInterface(status)->text(QAccessible::Name).toStdString();
  };
  EXPECT_EQ(spoken(), "No game loaded.");
  LoadSample();
  EXPECT_EQ(spoken(), "sample.lg loaded.");
  EXPECT_TRUE(status->accessibleName().isEmpty());
}

TEST_F(KeyboardAccessTest, ChangesMadeThroughAccessibilityActionsAreStored) {
  LoadSample();
  // The dashboard's bound controls, ticked and set as a screen reader does.
  for (const char* name : {"DBCheckBox1", "DBCheckBox2", "UseLogosCheckBox"}) {
    auto* box = Find<QCheckBox>(name);
    const bool before = box->isChecked();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
    ASSERT_NE(iface->actionInterface(), nullptr) << name;
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_NE(box->isChecked(), before) << name;
  }
  const bool active = Find<QCheckBox>("DBCheckBox1")->isChecked();
  for (const char* name : {"ActMinABEdit", "ActMinIPEdit"}) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(Find(name));
    ASSERT_NE(iface->valueInterface(), nullptr) << name;
    iface->valueInterface()->setCurrentValue(321);
  }
  Click("SaveSettingsBtn");
  {
    Database db(DataFolder(program_));
    Table games(db, "games.db");
    ASSERT_TRUE(games.Locate("universe_name", "sample"));
    EXPECT_EQ(games.GetBool("create_active_photos"), active);
    EXPECT_EQ(games.GetInt("active_ab_minimum", 0), 321);
    EXPECT_EQ(games.GetInt("active_ip_minimum", 0), 321);
  }

  // The player page's "Locked?", toggled as a screen reader does, then Done.
  SearchPlayers();
  ASSERT_EQ(Page(), kPlayerPage);
  Grid("PlayersSearchResults")->GoTo(0);
  const int id = Cell("PlayersSearchResults", 0, "player_id").toInt();
  if (Players().at(id).locked) GTEST_SKIP() << "the sample's first match is locked";
  auto* locked = Find<QCheckBox>("DBCheckBox3");
  QAccessible::queryAccessibleInterface(locked)->actionInterface()->doAction(
      QAccessibleActionInterface::toggleAction());
  ASSERT_TRUE(locked->isChecked());
  Click("PlayerDone");
  EXPECT_TRUE(Players().at(id).locked);

  // Pressed through its action as well: "Done" of the locks page.
  Trigger("ManageLockedPhotos1");
  ASSERT_EQ(Page(), kLocksPage);
  QAccessible::queryAccessibleInterface(Find("LocksDone"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(QTest::qWaitFor([this] { return Page() == kDashboardPage; }));
}

}  // namespace
}  // namespace likentor
