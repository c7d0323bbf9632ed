// A question asked again before a change that cannot be taken back.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "shell/screens/MenuScreen.h"

// "no" comes first, so that a second Enter or A changes nothing; "no", back
// or Escape closes it unchanged. The yes row closes it, then calls `confirmed`.
class ConfirmMenu : public MenuScreen {
public:
    ConfirmMenu(ScreenHost& on, std::string asked, std::string yesLabel,
                std::function<void()> whenConfirmed)
        : MenuScreen(on),
          question(std::move(asked)),
          yes(std::move(yesLabel)),
          confirmed(std::move(whenConfirmed)) {}

protected:
    void Build() override;
    std::string Title() const override { return question; }

private:
    std::string question;
    std::string yes;
    std::function<void()> confirmed;
};
