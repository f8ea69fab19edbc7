#pragma once

// Where the keyboard's focus goes when a page opens: on the page's first control in Tab order, so
// that Tab walks the page from its top and no button is pressed by an Enter meant for something
// else.

#include <QWidget>

namespace likentor {

// The user reaches `control` with Tab: it takes focus by Tab, and is shown and enabled.
bool TakesTabFocus(const QWidget* control);

// Gives the focus to the first control of `page` in the window's Tab order. False when the page
// has none that takes it now.
bool FocusFirstControl(QWidget* page);

}  // namespace likentor
