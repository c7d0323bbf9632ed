#include "shell/QuitMenu.h"

#include "shell/EventLoop.h"

void QuitMenu::Build() {
    list.Add("no", [this] { loop.Back(); });
    list.Add("yes, quit", [this] { loop.Quit(); });
}
