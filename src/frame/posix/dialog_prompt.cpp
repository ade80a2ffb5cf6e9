// CDialog::DoModal outside Windows: the dialog's question asked on the
// process's terminal (see terminal_dialog.h).
#include <iostream>

#include "frame/afx_dialog.h"
#include "frame/posix/terminal_dialog.h"

INT_PTR CDialog::DoModal() { return quillon::frame::runDialogOnTerminal(*this, std::cin, std::cout); }
