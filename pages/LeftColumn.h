#pragma once

#include <cstdint>
#include <string>

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/Messages.h"

namespace zavrin {

class CCheckButton;
class CStaticText;
class PageHost;

// Pieces the main window's fixed parts share: the caption formats of its
// buttons and texts, and the title bars of the left column.
inline constexpr std::uint32_t kCaption = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
inline constexpr std::uint32_t kLeftCaption = DT_LEFT | DT_VCENTER | DT_SINGLELINE;

// A title bar of the left column (header2 pictures) in the common list.
CCheckButton* AddTitleBar(PageHost& window, std::uint32_t id, const RECT& rect,
                          const std::string& text, BOOL visible);

// The main window's texts show what they were made with.
CStaticText* ShowingItsText(CStaticText* text);

}  // namespace zavrin
