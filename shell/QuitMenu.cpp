#include "shell/QuitMenu.h"

#include "shell/ScreenHost.h"

void QuitMenu::Build() {
    list.Add("no", [this] { host.Back(); });
    list.Add("yes, quit", [this] { host.Quit(); });
}
