// Settings: sound, display, controls, restore defaults.
#pragma once

#include "shell/ControlsMenu.h"
#include "shell/MenuScreen.h"

// Every change takes effect at once and is kept (PlayerSettings::Change).
// A setting is shown by one AddSetting() line in Build(), in its section.
class SettingsMenu : public MenuScreen {
public:
    explicit SettingsMenu(EventLoop& loop);

protected:
    void Build() override;
    std::string Title() const override { return "settings"; }
    std::string Hint() const override;

private:
    // A row "label   value": left, right, the wheel or choosing step the
    // setting `name` through its values.
    void AddSetting(const std::string& label, const std::string& name);

    ControlsMenu controls;
};
