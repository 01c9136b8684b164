// Object instances: placement, work arrays and visibility classification.
#include "geometry/instance.h"

#include "geometry/view.h"

#include <cmath>
#include <new>

ObjectInstance::ObjectInstance() : surface(nullptr) {
    matrix.SetIdentity();
}

void ObjectInstance::AttachMesh(Mesh* newMesh) {
    mesh = newMesh;
    if (mesh == nullptr)
        return;
    ReleaseWorkArrays();
    const int count = mesh->pointCount;
    if (count > 0) {
        viewPoints = new (std::nothrow) Vector3[count];
        viewNormals = new (std::nothrow) Vector3[count];
        pointColours = new (std::nothrow) Colour[count];
    }
    ComputeRadius();
}

void ObjectInstance::ComputeRadius() {
    radius = 0.0f;
    if (mesh == nullptr || mesh->points == nullptr)
        return;
    for (int i = 0; i < mesh->pointCount; ++i) {
        const float length = mesh->points[i].Length();
        if (length > radius)
            radius = length;
    }
}

void ObjectInstance::Rotate(float pitch, float heading, float bank) {
    Matrix rotation, turned;
    rotation.SetRotationHPB(pitch, heading, bank);
    turned.SetProduct(rotation, matrix);
    matrix.Copy(turned);
}

void ObjectInstance::Scale(float sx, float sy, float sz) {
    matrix.PostScale(sx, sy, sz);
    // A mirroring (negative) factor stretches as much as its magnitude, and the
    // radius must stay a distance.
    float largest = std::fabs(sx);
    if (largest < std::fabs(sy))
        largest = std::fabs(sy);
    if (largest < std::fabs(sz))
        largest = std::fabs(sz);
    radius *= largest;
}

bool ObjectInstance::Classify() {
    clipFlags = 0;
    const View* view = CurrentView;
    if (mesh == nullptr || !TestFlags(InstanceShown) || view == nullptr)
        return false;

    const Vector3 c = view->viewMatrix.TransformPoint(GetPosition());
    const float r = radius;
    if (c.z + r < nearDistance)
        return false; // wholly in front of the near plane
    if (c.z - r > farDistance)
        return false; // wholly beyond the far plane

    uint16_t bits = 0;
    const float zz = c.z + 0.00001f;
    if (zz <= r) {
        // The sphere reaches the camera's own plane: its projection at the depth of
        // its centre is meaningless (mirrored or infinite). Cull it only when it
        // lies wholly outside a side plane, and otherwise let the clipper cut it
        // against every screen edge.
        for (int plane = PlaneLeft; plane <= PlaneTop; ++plane) {
            if (PlaneDistance(view->planes[plane], c.x, c.y, c.z) < -r)
                return false;
        }
        bits = ClipLeft | ClipRight | ClipBottom | ClipTop;
    } else {
        // The sphere's radius scaled at the depth of its centre, y growing downwards.
        const float sx = c.x * view->xScale / zz + view->halfWidth;
        const float rx = view->xScale * r / zz;
        const float sy = view->halfHeight - c.y * view->yScale / zz;
        const float ry = view->yScale * r / zz;
        const float left = sx - rx, right = sx + rx, top = sy - ry, bottom = sy + ry;
        // Culled against the View's own picture...
        if (right < 0.0f || left > view->width || bottom < 0.0f || top > view->height)
            return false;
        // ...but clipped against the screen's edges: a View narrower than the
        // screen lets polygons run on to the screen's right edge.
        const float screenWidth = static_cast<float>(showWidth);
        const float screenHeight = static_cast<float>(showHeight);
        if (left <= 0.0f)
            bits |= ClipLeft;
        if (left <= screenWidth && right >= screenWidth)
            bits |= ClipRight;
        if (bottom >= 0.0f && top < 0.0f)
            bits |= ClipTop;
        if (top <= screenHeight && bottom >= screenHeight)
            bits |= ClipBottom;
    }
    if (c.z + r >= nearDistance && c.z - r <= nearDistance)
        bits |= ClipNear;
    if (c.z - r <= farDistance && c.z + r >= farDistance)
        bits |= ClipFar;
    clipFlags = bits;
    return true;
}

void ObjectInstance::ReleaseWorkArrays() {
    delete[] viewPoints;
    delete[] viewNormals;
    delete[] pointColours;
    viewPoints = nullptr;
    viewNormals = nullptr;
    pointColours = nullptr;
}
