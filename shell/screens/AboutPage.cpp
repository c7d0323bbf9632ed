#include "shell/screens/AboutPage.h"

#include "shell/screens/ScreenHost.h"

void AboutPage::Build() {
    // The version as --version prints it; the licence as LICENSE states it.
    list.AddHeading(std::string("korvessa ") + KORVESSA_VERSION);
    list.AddHeading("copyright (c) 2026 korvessa developers");
    list.AddHeading("free software under the mit license:");
    list.AddHeading("see the license file that came with it");
    list.Add("back", [this] { host.Back(); });
}
