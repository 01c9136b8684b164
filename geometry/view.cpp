// Views: projection set-up, clipping planes and the world-to-view matrix.
#include "geometry/view.h"

#include "glide/screen.h"

#include <cmath>

View* CurrentView = nullptr;
float nearDistance = 1.0f;
float farDistance = 10000.0f;
int16_t showWidth = screen::width;
int16_t showHeight = screen::height;

namespace {

// Degrees to radians: the float nearest π, divided by 180 in double.
constexpr double DegreesToRadians = 0.017453293005625408;
// Angle of the bottom and top planes' normals from the view axis's normal plane:
// tan(π/2 − K) = 0.432999, just inside a 4:3 picture seen at 60 degrees.
constexpr double VerticalPlaneAngle = 1.1621700525283813;

} // namespace

View::View() {
    for (Plane& plane : planes)
        plane = Plane{0.0f, 0.0f, 0.0f, 0.0f};
    viewMatrix.SetIdentity();
}

void View::Setup(int16_t newWidth, int16_t newHeight, int16_t fieldOfView, int32_t newXOffset,
                 int32_t newYOffset) {
    xOffset = newXOffset;
    yOffset = newYOffset;
    // The side planes use the whole field of view (plus a hair, so they pass just
    // inside the screen edges); the projection uses half of it, halved as an integer.
    const double sideAngle = fieldOfView * DegreesToRadians + 0.00001;
    const double halfAngle = (fieldOfView / 2) * DegreesToRadians;

    width = static_cast<float>(newWidth);
    height = static_cast<float>(newHeight);
    halfWidth = width * 0.5f;
    halfHeight = height * 0.5f;
    xScale = static_cast<float>(halfWidth / std::tan(halfAngle));
    // A 4:3 picture: the vertical factor makes pixels square at 640 × 480.
    yScale = static_cast<float>((halfHeight / std::tan(halfAngle)) * 1.3333333333333333);

    const float sinA = static_cast<float>(std::sin(sideAngle));
    const float cosA = static_cast<float>(std::cos(sideAngle));
    const float sinK = static_cast<float>(std::sin(VerticalPlaneAngle));
    const float cosK = static_cast<float>(std::cos(VerticalPlaneAngle));
    planes[PlaneLeft] = Plane{0.0f, sinA, 0.0f, cosA};
    planes[PlaneRight] = Plane{0.0f, -sinA, 0.0f, cosA};
    planes[PlaneBottom] = Plane{0.0f, 0.0f, sinK, cosK};
    planes[PlaneTop] = Plane{0.0f, 0.0f, -sinK, cosK};
    planes[PlaneNear] = Plane{-nearDistance, 0.0f, 0.0f, 1.0f};
    planes[PlaneFar] = Plane{farDistance, 0.0f, 0.0f, -1.0f};
}

void View::UpdateViewMatrix() {
    // The inverse of the camera's rigid transformation: transposed rotation, then
    // the camera position carried through it and negated.
    viewMatrix.SetTranslation(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            viewMatrix.m[i][j] = camera.matrix.m[j][i];
    const Vector3 t = viewMatrix.TransformPoint(camera.GetPosition());
    viewMatrix.SetTranslation(-t.x, -t.y, -t.z);
    // Removes any scale of the camera's rows; the translation is not recomputed.
    viewMatrix.NormalizeColumns();
}

void View::SetPosition(float x, float y, float z) {
    camera.SetPosition(x, y, z);
    UpdateViewMatrix();
}

void View::Rotate(float pitch, float heading, float bank) {
    target = nullptr;
    camera.Rotate(pitch, heading, bank);
    UpdateViewMatrix();
}
