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
    ConfirmMenu(ScreenHost& host, std::string question, std::string yes,
                std::function<void()> confirmed)
        : MenuScreen(host),
          question(std::move(question)),
          yes(std::move(yes)),
          confirmed(std::move(confirmed)) {}

protected:
    void Build() override;
    std::string Title() const override { return question; }

private:
    std::string question;
    std::string yes;
    std::function<void()> confirmed;
};
