#include "ui/page_focus.h"

namespace likentor {

bool TakesTabFocus(const QWidget* control) {
  return (control->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && control->isVisible() &&
         control->isEnabled() && control->focusProxy() == nullptr;
}

bool FocusFirstControl(QWidget* page) {
  if (page == nullptr) return false;
  // The focus chain runs through the whole window; the page's controls follow the page in it.
  for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
    if (page->isAncestorOf(w) && TakesTabFocus(w)) {
      w->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return false;
}

}  // namespace likentor
