// Whether the desktop's screensaver may start.
#pragma once

// SDL keeps the screensaver off from start-up; this lets it run again, and
// tells SDL only when the answer changes.
class ScreenSaver {
public:
    void Allow(bool allowed);

private:
    bool allowed = false;
};
