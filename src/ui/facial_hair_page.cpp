#include "ui/facial_hair_page.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "app/previews.h"
#include "app/session.h"
#include "ui/command_guard.h"
#include "ui/picture_box.h"

namespace likentor {

namespace {

constexpr int kStripWidth = 104;

}  // namespace

FacialHairPage::FacialHairPage(Session& session, CommandGuard& commands, QWidget* parent)
    : EditorPage(session, commands,
                 {"FacialHairPage", "Facial Hair Frequency", "FacialHairDone", "FacialHairGrid",
                  "FacialHairNavigator", "facial_hair.db"},
                 parent) {
  RefuseNegative({"frequency"});

  auto* strip = new QWidget(this);
  strip->setObjectName("FacialHairStrip");
  strip->setFixedWidth(kStripWidth);
  auto* column = new QVBoxLayout(strip);
  column->setContentsMargins(4, 0, 0, 0);
  preview_ = new PictureBox("FacialHairPreviewImage", strip);
  auto* button = new QPushButton("Get Preview", strip);
  button->setObjectName("GetFacialHairPreviewBtn");
  button->setAccessibleName("Get Preview");
  // The preview reads only the kit's pictures and the grid's text.
  MarkShowsOnly(button);
  column->addWidget(preview_, 0, Qt::AlignHCenter);
  column->addWidget(button);
  column->addStretch(1);
  GridRow()->addWidget(strip);

  connect(button, &QPushButton::clicked, this, [this] { GetFacialHairPreviewBtnClick(); });
}

void FacialHairPage::GetFacialHairPreviewBtnClick() {
  commands_.Show([this] {
    const int row = Grid()->CurrentRow();
    if (row < 0) return;
    // The style as the grid shows it, a location typed but not yet posted included.
    Grid()->CommitEditor();
    const std::string location = Model()->Text(row, "location").toStdString();
    // Nothing new to show (missing artwork): the preview keeps its picture.
    if (auto picture = FacialHairPreview(session_.ProgramFolder(), location)) {
      preview_->ShowPicture(ToQImage(*picture),
                            location == "none"
                                ? QString("A face without facial hair")
                                : "Facial hair: " + QString::fromStdString(location));
    }
  });
}

}  // namespace likentor
