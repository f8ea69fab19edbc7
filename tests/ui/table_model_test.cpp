// The grids' table model and its grid over a real table file: Qt's model tester, texts and check
// boxes, edits pending until posted or cancelled, a move that posts, and the refusals.

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <string>

#include "database/table_store.h"
#include "support/temp_folder.h"
#include "ui/data_grid.h"
#include "ui/navigator.h"
#include "ui/table_model.h"
#include "window_fixture.h"

namespace likentor {
namespace {

class TableModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::Application();
    db_.CreateTable("styles.db", {{"style_id", FieldType::Integer, 0, true},
                                  {"location", FieldType::Text, 12, true},
                                  {"frequency", FieldType::Integer, 0, false},
                                  {"eligible", FieldType::Boolean, 0, false}});
    Table t(db_, "styles.db");
    for (int id : {1, 2, 3}) {
      t.Append();
      t.SetInt("style_id", id);
      t.SetText("location", "loc" + std::to_string(id));
      t.SetInt("frequency", id * 10);
      t.SetBool("eligible", id == 2);
      ASSERT_TRUE(t.Post());
    }
  }

  // The row of `id` as stored, read through a cursor of its own.
  std::string Stored(int id, std::string_view field) {
    Table t(db_, "styles.db");
    EXPECT_TRUE(t.Locate("style_id", id));
    return t.GetText(field);
  }

  QVariant At(int row, int column, int role = Qt::DisplayRole) {
    return model_.data(model_.index(row, column), role);
  }

  test::TempFolder folder_;
  Database db_{folder_.Path()};
  TableModel model_;
};

TEST_F(TableModelTest, ShowsTheRowsAndKeepsEditsPendingUntilPosted) {
  QAbstractItemModelTester tester(&model_, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model_.Open(db_, "styles.db");
  ASSERT_EQ(model_.rowCount(), 3);
  ASSERT_EQ(model_.columnCount(), 4);
  // Titled in words; the key's title says what it is.
  EXPECT_EQ(model_.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Frequency");
  EXPECT_EQ(model_.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Style id");
  EXPECT_EQ(At(1, 1).toString(), "loc2");
  EXPECT_EQ(At(1, 2).toString(), "20");
  // Booleans are check boxes without a text.
  EXPECT_EQ(At(1, 3, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
  EXPECT_EQ(At(0, 3, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
  EXPECT_FALSE(At(1, 3).isValid());
  EXPECT_TRUE(model_.flags(model_.index(0, 3)) & Qt::ItemIsUserCheckable);
  EXPECT_TRUE(model_.flags(model_.index(0, 1)) & Qt::ItemIsEditable);

  // An edit is shown at once, stored only when posted.
  QSignalSpy editState(&model_, &TableModel::EditStateChanged);
  ASSERT_TRUE(model_.setData(model_.index(0, 1), "beard", Qt::EditRole));
  ASSERT_TRUE(model_.setData(model_.index(0, 3), Qt::Checked, Qt::CheckStateRole));
  EXPECT_EQ(editState.count(), 1);
  EXPECT_EQ(model_.EditRow(), 0);
  EXPECT_EQ(At(0, 1).toString(), "beard");
  EXPECT_EQ(Stored(1, "location"), "loc1");
  EXPECT_TRUE(model_.Post());
  EXPECT_EQ(Stored(1, "location"), "beard");
  EXPECT_EQ(Stored(1, "eligible"), "true");
  EXPECT_FALSE(model_.InEdit());

  // Cancel drops it.
  ASSERT_TRUE(model_.setData(model_.index(2, 2), "77", Qt::EditRole));
  model_.Cancel();
  EXPECT_EQ(At(2, 2).toString(), "30");
  EXPECT_EQ(Stored(3, "frequency"), "30");

  // A number field refuses a text that is no whole number, with a message, and keeps its value.
  QSignalSpy refused(&model_, &TableModel::Refused);
  EXPECT_FALSE(model_.setData(model_.index(2, 2), "many", Qt::EditRole));
  ASSERT_EQ(refused.count(), 1);
  EXPECT_EQ(refused[0][0].toString(), "Frequency needs a whole number, not 'many'.");
  EXPECT_EQ(At(2, 2).toString(), "30");
  EXPECT_FALSE(model_.InEdit());

  // The page's own check refuses before anything is set.
  model_.SetCheck([](const FieldDef& field, const QString& text) {
    return field.name == "frequency" && text.toInt() < 0 ? QString("No negatives") : QString();
  });
  EXPECT_FALSE(model_.setData(model_.index(2, 2), "-4", Qt::EditRole));
  EXPECT_EQ(refused.last()[0].toString(), "No negatives");
  EXPECT_EQ(Stored(3, "frequency"), "30");

  // A required text left empty refuses the post: the edit stays pending with the typed texts.
  ASSERT_TRUE(model_.setData(model_.index(2, 1), "", Qt::EditRole));
  ASSERT_TRUE(model_.setData(model_.index(2, 2), "31", Qt::EditRole));
  EXPECT_FALSE(model_.Post());
  EXPECT_EQ(refused.last()[1].toString(), "3");
  EXPECT_EQ(refused.last()[0].toString(), "Location must have a value.");
  EXPECT_TRUE(model_.InEdit());
  EXPECT_EQ(At(2, 1).toString(), "");
  EXPECT_EQ(At(2, 2).toString(), "31");
  EXPECT_EQ(Stored(3, "location"), "loc3");
  // Fixed, it posts.
  ASSERT_TRUE(model_.setData(model_.index(2, 1), "kept", Qt::EditRole));
  EXPECT_TRUE(model_.Post());
  EXPECT_EQ(Stored(3, "location"), "kept");
  EXPECT_EQ(Stored(3, "frequency"), "31");

  // The key names the row: it takes no edit, and says so.
  EXPECT_FALSE(model_.flags(model_.index(2, 0)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model_.setData(model_.index(2, 0), "9", Qt::EditRole));
  EXPECT_EQ(refused.last()[0].toString(), "Style id cannot be changed: it is the key of the row.");
  EXPECT_EQ(model_.KeyText(2), "3");
  EXPECT_FALSE(model_.InEdit());
}

TEST_F(TableModelTest, TheGridPostsOnAMoveAndStaysWhenThePostIsRefused) {
  model_.Open(db_, "styles.db");
  QWidget page;
  auto* grid = new DataGrid("StylesGrid", &model_, &page);
  auto* bar = new Navigator("StylesNavigator", grid, kAllNavigatorButtons, &page);
  QSignalSpy rows(grid, &DataGrid::RowChanged);
  ASSERT_TRUE(grid->GoTo(0));
  EXPECT_EQ(model_.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QString(QChar(0x25B6)));
  EXPECT_FALSE(bar->Action(NavigatorButton::Prior)->isEnabled());
  EXPECT_FALSE(bar->Action(NavigatorButton::Post)->isEnabled());
  EXPECT_EQ(bar->Action(NavigatorButton::Next)->toolTip(), "Next");
  EXPECT_EQ(bar->Action(NavigatorButton::Next)->objectName(), "StylesNavigatorNext");

  ASSERT_TRUE(model_.setData(model_.index(0, 2), "15", Qt::EditRole));
  EXPECT_TRUE(bar->Action(NavigatorButton::Post)->isEnabled());
  bar->Action(NavigatorButton::Next)->trigger();
  EXPECT_EQ(grid->CurrentRow(), 1);
  EXPECT_EQ(Stored(1, "frequency"), "15");
  EXPECT_EQ(rows.last()[0].toInt(), 1);

  // A refused post keeps the grid on the edited row.
  ASSERT_TRUE(model_.setData(model_.index(1, 1), "", Qt::EditRole));
  bar->Action(NavigatorButton::Last)->trigger();
  EXPECT_EQ(grid->CurrentRow(), 1);
  EXPECT_EQ(model_.EditRow(), 1);
  bar->Action(NavigatorButton::Cancel)->trigger();
  EXPECT_FALSE(model_.InEdit());
  bar->Action(NavigatorButton::Last)->trigger();
  EXPECT_EQ(grid->CurrentRow(), 2);

  // Refresh shows rows a cursor added, on the same current row.
  {
    Table t(db_, "styles.db");
    t.Append();
    t.SetInt("style_id", 0);
    t.SetText("location", "loc0");
    ASSERT_TRUE(t.Post());
  }
  bar->Action(NavigatorButton::Refresh)->trigger();
  EXPECT_EQ(model_.rowCount(), 4);
  EXPECT_EQ(model_.KeyText(grid->CurrentRow()), "3");
}

}  // namespace
}  // namespace likentor
