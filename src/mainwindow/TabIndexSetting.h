#pragma once

// The one persisted setting: the left-hand tab last selected, kept as text
// in the user's registry under the program's key.
class TabIndexSetting
{
public:
    static constexpr const char *kKeyPath = "Software\\KelvaneSoft\\SitePins\\";
    static constexpr const char *kValueName = "TabIndex";

    // Creates the key with TabIndex "0" on the first start.
    static void addDefaultFormValues();
    // 0 for an empty, missing or unusable value.
    static int getTabIndexSetting();
    // Writes nothing when the key cannot be opened.
    static void setSavedFormValues(int tab);
};
