#include "pages/LeftColumn.h"

#include "pages/PageHost.h"
#include "ui/CCheckButton.h"
#include "ui/CDlgBase.h"
#include "ui/CStaticText.h"

namespace zavrin {

CCheckButton* AddTitleBar(PageHost& window, std::uint32_t id, const RECT& rect,
                          const std::string& text, BOOL visible) {
    auto* title = window.AddControl(
        CDlgBase::kCommonList, std::make_unique<CCheckButton>(window.GetSafeHwnd(), id, rect, text,
                                                              kCaption, TRUE, visible, FALSE));
    title->LoadLooks("skins\\header2");
    title->SetRepaintsWholeWindow(true);
    return title;
}

CStaticText* ShowingItsText(CStaticText* text) {
    text->ShowCaption();
    return text;
}

}  // namespace zavrin
