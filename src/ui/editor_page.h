#pragma once

// A data-editor page: one shared table in a grid with its navigator under it, and "Done". The
// table is opened the first time the page is shown and stays open; "Done" neither posts nor
// cancels an edit, which stays pending until the grid posts it.

#include <QHBoxLayout>
#include <string>
#include <vector>

#include "ui/data_grid.h"
#include "ui/done_page.h"
#include "ui/navigator.h"

namespace likentor {

class CommandGuard;
class Session;

struct EditorNames {
  const char* page;
  const char* title;
  const char* done;
  const char* grid;
  const char* navigator;
  const char* table;
};

class EditorPage : public DonePage {
  Q_OBJECT

 public:
  EditorPage(Session& session, CommandGuard& commands, const EditorNames& names, QWidget* parent);

  DataGrid* Grid() const { return grid_; }
  TableModel* Model() const { return model_; }

 protected:
  void showEvent(QShowEvent* event) override;
  // The row that holds the grid, where a page adds a strip on its right.
  QHBoxLayout* GridRow() const { return row_; }
  // Values of these fields that are below 0 are refused with a message naming the column.
  void RefuseNegative(std::vector<std::string> fields);
  Session& session_;
  CommandGuard& commands_;

 private:
  std::string table_;
  TableModel* model_;
  DataGrid* grid_;
  QHBoxLayout* row_;
};

}  // namespace likentor
