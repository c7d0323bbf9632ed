#include "gfx/StarField.h"

#include <GL/gl.h>

#include "objects/BaseObject.h"
#include "objects/Random.h"

CStarField::CStarField() : stars(new CPoint*[kStarCount]()), count(kStarCount) {
    for (int i = 0; i < count; ++i) {
        int y = static_cast<int>(RandomFraction() * kPlayfieldHeight);
        int x = static_cast<int>(RandomFraction() * kPlayfieldWidth);
        stars[i] = new CPoint(x, y);
    }
}

CStarField::~CStarField() {
    for (int i = 0; i < count; ++i) {
        delete stars[i];
    }
    delete[] stars;
}

void CStarField::Draw() { DrawInGrey(1.0f); }

void CStarField::DrawInGrey(float brightness) {
    glPointSize(pointSize);
    glBegin(GL_POINTS);
    glColor3f(brightness, brightness, brightness);
    for (int i = 0; i < count; ++i) {
        glVertex2f(static_cast<float>(stars[i]->GetX()), static_cast<float>(stars[i]->GetY()));
    }
    glEnd();
}
