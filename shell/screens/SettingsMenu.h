// Settings: sound, display, controls, accessibility, the daily board,
// restore defaults.
#pragma once

#include "shell/screens/ConfirmMenu.h"
#include "shell/screens/ControlsMenu.h"
#include "shell/screens/MenuScreen.h"
#include "shell/screens/TextEntryScreen.h"

// Every change takes effect at once and is kept (PlayerSettings::Change).
// A setting is shown by one AddSetting() line in Build(), in its section.
// Restoring the defaults is asked again, and said when done.
class SettingsMenu : public MenuScreen {
public:
    explicit SettingsMenu(ScreenHost& host);

    void Shown() override;
    void Handle(const MenuEvent& event) override;

protected:
    void Build() override;
    std::string Title() const override { return "settings"; }
    std::string Hint() const override;

private:
    // A row "label   value": left, right, the wheel or choosing step the
    // setting `name` through its values.
    void AddSetting(const std::string& label, const std::string& name);
    // The daily board's rows: on or off, its address, the player's name.
    void AddBoard();
    // Turning the board on asks for the player's name if there is none yet.
    void ChangeBoard();
    void AskName(bool thenTurnOn);
    void AskAddress();

    void RestoreDefaults();

    ControlsMenu controls;
    TextEntryScreen entry;
    ConfirmMenu restore;
    std::string message;  // instead of the hint, until the next move
};
