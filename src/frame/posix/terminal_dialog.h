// Dialogs outside Windows: the same question as a modal prompt on the
// terminal, built from the same template. For template 7010:
//
//   Save As
//   User Projection Name [Old name]: New name
//   OK / Cancel [OK]: ok
//
// The caption comes first; then each edit, in template order, under the
// label beside it, showing its current text in brackets when there is one
// (an empty answer keeps that text, or an empty one); then the push buttons
// OK and Cancel, the default one in brackets (an empty answer chooses it;
// any case, any leading part of a button's text chooses that button).
// End of input at any point is Cancel. Text is UTF-8 on the streams.
#ifndef QUILLON_FRAME_POSIX_TERMINAL_DIALOG_H
#define QUILLON_FRAME_POSIX_TERMINAL_DIALOG_H

#include <iosfwd>

#include "frame/afx_dialog.h"

namespace quillon::frame {

// Runs `dialog` modally on the streams: IDOK, IDCANCEL, or -1 when its
// template is not in the resource chain.
INT_PTR runDialogOnTerminal(CDialog& dialog, std::istream& in, std::ostream& out);

}  // namespace quillon::frame

#endif
