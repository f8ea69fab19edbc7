#include "ui/editor_page.h"

#include <QVBoxLayout>
#include <algorithm>

#include "app/session.h"
#include "ui/command_guard.h"

namespace likentor {

EditorPage::EditorPage(Session& session, CommandGuard& commands, const EditorNames& names,
                       QWidget* parent)
    : DonePage(names.page, names.title, names.done, parent),
      session_(session),
      commands_(commands),
      table_(names.table),
      model_(new TableModel(this)) {
  grid_ = new DataGrid(names.grid, model_, this);
  grid_->setAccessibleName(names.title);
  auto* navigator = new Navigator(names.navigator, grid_, kAllNavigatorButtons, this);
  ReportRefusals(model_, session_);

  auto* column = new QVBoxLayout;
  column->setSpacing(2);
  column->addWidget(grid_, 1);
  column->addWidget(navigator);
  row_ = new QHBoxLayout;
  row_->addLayout(column, 1);
  Body()->addLayout(row_, 1);
}

void EditorPage::showEvent(QShowEvent* event) {
  DonePage::showEvent(event);
  // The shared tables are open for the whole run: the grid opens once, and again only when its
  // table was made anew meanwhile.
  if (model_->IsOpen()) return;
  commands_.Show([this] {
    model_->Open(session_.Data(), table_);
    grid_->FitColumns();
  });
}

void EditorPage::RefuseNegative(std::vector<std::string> fields) {
  model_->SetCheck([this, fields = std::move(fields)](const FieldDef& field, const QString& text) {
    if (std::find(fields.begin(), fields.end(), field.name) == fields.end()) return QString();
    bool number = false;
    const long long value = text.trimmed().toLongLong(&number);
    if (!number || value >= 0) return QString();
    return QString("%1 cannot be negative: %2 was typed.").arg(model_->Title(field.name), text);
  });
}

}  // namespace likentor
