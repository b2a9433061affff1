#pragma once

#include <functional>

#include "dialogs/CSmallDlg.h"

namespace zavrin {

// Asks the receiver to pair with the mouse and waits up to 25 seconds for the
// mouse to come online, showing the wait on its pair button.
//
// The pair request goes to the owner as message kPairRequest (the owner sends
// the pairing report); `isOnline` tells whether the mouse is reachable now.
class CParingDlg : public CSmallDlg {
public:
    static constexpr UINT kPairRequest = 0x496;
    static constexpr int kTickTimer = 1;
    static constexpr int kWaitSeconds = 25;
    enum State { Ready = 0, Pairing = 1, Paired = 2, Failed = 3 };

    CParingDlg(HWND owner, std::function<bool()> isOnline);

    int pairingState() const { return pairingState_; }
    int pairingSeconds() const { return pairingSeconds_; }

protected:
    void BuildExtras() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG& msg) override;

private:
    void PairAction();
    void Tick();
    void SetPairText(int textId);

    std::function<bool()> isOnline_;
    int pairingState_ = Ready;
    int pairingSeconds_ = 0;
};

// Confirms a factory reset: OK (or Enter) ends with IDOK; Escape does nothing.
class CFirmwareResetDlg : public CSmallDlg {
public:
    explicit CFirmwareResetDlg(HWND owner);

protected:
    void BuildExtras() override;
    BOOL PreTranslateMessage(MSG& msg) override;
};

}  // namespace zavrin
