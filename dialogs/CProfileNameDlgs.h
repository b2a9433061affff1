#pragma once

#include <string>

#include "dialogs/CSmallDlg.h"
#include "model/ProfileStore.h"

namespace zavrin {

// The shape of the two profile-name prompts: a prompt, a centred edit box with
// the focus, OK, cancel and close. Enter confirms; Escape does nothing; an
// empty name is refused with a notice and the prompt stays open. The text is
// taken as typed. Neither dialog saves anything: the caller does after OK.
class CProfileNameDlg : public CSmallDlg {
public:
    static constexpr int kEmptyNameText = 147;

    BOOL OnInitDialog() override;

protected:
    CProfileNameDlg(HWND owner, int promptText, std::string startText);

    void BuildExtras() override;
    void DrawExtras(Canvas& dc) override;
    void OnOkButton() override;
    BOOL PreTranslateMessage(MSG& msg) override;

    // Stores a name that is not empty.
    virtual void Accept(const std::string& name) = 0;

private:
    int promptText_;
    std::string startText_;
};

// Completes adding a profile: one more profile listed, the slot's record back
// to its defaults, and the typed name.
class CAddProfileDlg : public CProfileNameDlg {
public:
    CAddProfileDlg(ProfileStore& store, int slot, HWND owner);

protected:
    void Accept(const std::string& name) override;

private:
    ProfileStore& store_;
    int slot_;
};

// Renames a profile: `nameSetting` is the value of its ProfileName setting.
class CEditProfileDlg : public CProfileNameDlg {
public:
    CEditProfileDlg(std::string& nameSetting, HWND owner);

protected:
    void Accept(const std::string& name) override;

private:
    std::string& nameSetting_;
};

}  // namespace zavrin
