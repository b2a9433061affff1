#pragma once

#include <functional>
#include <map>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Window.h"

namespace zavrin::test {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A window that writes down every message it gets and lets a test hook any
// message with its own handler.
template <typename Base>
class Recording : public Base {
public:
    using Base::Base;
    std::vector<Received> log;
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> handlers;

    int count(UINT message) const {
        int n = 0;
        for (const Received& r : log) n += r.message == message ? 1 : 0;
        return n;
    }
    std::vector<Received> only(UINT message) const {
        std::vector<Received> out;
        for (const Received& r : log)
            if (r.message == message) out.push_back(r);
        return out;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        log.push_back(Received{message, wParam, lParam});
        if (auto it = handlers.find(message); it != handlers.end()) return it->second(wParam, lParam);
        return Base::WindowProc(message, wParam, lParam);
    }
};

using RecordingWnd = Recording<CWnd>;
using RecordingDialog = Recording<CDialog>;

// A plain visible popup window at `rect`.
inline bool CreatePopup(CWnd& wnd, RECT rect, HWND owner = {}, std::uint32_t exStyle = 0) {
    return wnd.CreateEx(exStyle, WS_POPUP | WS_VISIBLE, rect, owner);
}

}  // namespace zavrin::test
