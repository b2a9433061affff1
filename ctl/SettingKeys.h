#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/DeviceSync.h"
#include "device/SensorTables.h"
#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"
#include "model/ProfileRecord.h"

namespace zavrin {

// What a setting's value depends on beyond the profile: the sensor's DPI steps,
// the connection's rate class, the macro library, and two language tables: the
// English one, whose names the user types, and the window's own, whose names
// the profile stores (the window writes a button's label in its language).
struct SettingContext {
    SensorTable sensor;
    int rateCapability = 8;
    const MacroLibrary* library = nullptr;
    const LanguageTable* english = nullptr;
    const LanguageTable* shown = nullptr;
};

// One setting of the current profile as zavrinctl names it. `set` changes only
// `profile` and only when the value is one the window itself would store; else
// it returns why not (possibly an empty text) and leaves `profile` as it was.
struct SettingKey {
    std::string_view name;
    std::string_view description;
    ProfileField field;
    std::string (*allowed)(const SettingContext&);
    std::string (*get)(const ProfileRecord&, const SettingContext&);
    std::optional<std::string> (*set)(ProfileRecord&, std::string_view, const SettingContext&);
};

// Every key, in the order `zavrinctl keys` and `get` list them.
std::span<const SettingKey> settingKeys();
const SettingKey* findSettingKey(std::string_view name);

// The one-line refusal: "KEY: cannot take VALUE (WHY); allowed: ALLOWED".
std::string refusalLine(const SettingKey& key, std::string_view value, const std::string& why,
                        const SettingContext& context);

// The English names of the button functions the function menu and its
// sub-menus offer directly, in menu order (for completion and the documentation).
std::vector<std::string> buttonFunctionNames(const LanguageTable& english);

}  // namespace zavrin
