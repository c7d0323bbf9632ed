#include "shell/screens/QuitMenu.h"

#include "shell/screens/ScreenHost.h"

void QuitMenu::Build() {
    list.Add("no", [this] { host.Back(); });
    list.Add("yes, quit", [this] { host.Quit(); });
}
