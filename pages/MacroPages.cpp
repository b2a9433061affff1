#include "pages/StandardPages.h"

namespace zavrin {

// FIXME: the macro manager button does nothing until the macro pages exist.
void AddMacroPages(CVelmorDlg&) {}

}  // namespace zavrin
