#pragma once

// The facial hair editor: the styles and how often each is drawn, with a preview of the current
// style on a sample face.

#include "ui/editor_page.h"

namespace likentor {

class PictureBox;

class FacialHairPage : public EditorPage {
  Q_OBJECT

 public:
  FacialHairPage(Session& session, CommandGuard& commands, QWidget* parent);

 private:
  void GetFacialHairPreviewBtnClick();

  PictureBox* preview_;
};

}  // namespace likentor
