#pragma once

#include <string>

#include "dialogs/CNameDialogs.h"
#include "model/ProfileStore.h"

namespace zavrin {

// The shape of the two profile-name prompts: the name prompt in the common
// frame with a centred prompt. An empty name is refused with a notice and the
// prompt stays open. The text is taken as typed. Neither dialog saves
// anything: the caller does after OK.
class CProfileNameDlg : public CNamePromptDlg {
public:
    static constexpr int kEmptyNameText = 147;

    using CNamePromptDlg::OnInitDialog;

protected:
    CProfileNameDlg(HWND owner, int promptText, std::string startText);

    void OnOkButton() override;

    // Stores a name that is not empty.
    virtual void Accept(const std::string& name) = 0;
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
