#include "shell/screens/ConfirmMenu.h"

#include "shell/screens/ScreenHost.h"

void ConfirmMenu::Build() {
    list.Add("no", [this] { host.Back(); });
    list.Add(yes, [this] {
        host.Back();
        confirmed();
    });
}
