#include "shell/ui/FaintStars.h"

void FaintStars::DrawStars(CStarField& field) {
    switch (stars) {
        case Accessibility::Stars::kOn:
            field.Draw();
            break;
        case Accessibility::Stars::kDim:
            field.DrawInGrey(kDimBrightness);
            break;
        case Accessibility::Stars::kOff:
            break;
    }
}
