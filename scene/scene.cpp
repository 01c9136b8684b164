#include "scene/scene.h"

#include "geometry/lwob.h"
#include "render/pipeline.h"
#include "scene/line_reader.h"
#include "scene/scene_parser.h"
#include "toolkit/report.h"
#include "toolkit/file.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

int32_t Scene::surfaceTurn = 0;
Scene::ObjectFileLoader Scene::objectFileLoader = LoadObjectFile;

namespace {

// Scene text straight from an open File (the data archive when one is open),
// in chunks up to its size as it was when opened.
class FileText : public scene::TextSource {
public:
    explicit FileText(File& file) : file(file) { sizeKnown = file.GetSize(&left); }
    long Read(char* buffer, size_t size) override {
        if (!sizeKnown) {
            return -1;
        }
        const uint32_t count = left < size ? left : static_cast<uint32_t>(size);
        if (count > 0 && !file.Read(buffer, count)) {
            return -1;
        }
        left -= count;
        return static_cast<long>(count);
    }

private:
    File& file;
    uint32_t left = 0;
    bool sizeKnown = false;
};

bool IsFinite(const Matrix& matrix) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            if (!std::isfinite(matrix.m[r][c])) {
                return false;
            }
        }
    }
    return true;
}

// The frame number DrawFrame hands back: truncated toward zero, within 32 bits.
int32_t TruncateFrame(float frame) {
    if (frame >= 2147483520.0f) {
        return INT32_MAX;
    }
    if (frame <= -2147483648.0f) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(frame);
}

// Channel indices of an evaluated motion.
enum Channel { X = 0, Y, Z, Heading, Pitch, Bank };

} // namespace

bool Scene::Load(const char* fileName, int16_t width, int16_t height, const char* const* names,
                 SceneItem** foundItems) {
    Unload();
    File file;
    if (fileName == nullptr || !file.Open(fileName, ModeRead)) {
        return false;
    }
    FileText source(file);
    const bool loaded = LoadLines(source, width, height, names, foundItems);
    file.Close();
    return loaded;
}

bool Scene::LoadText(const char* text, size_t size, int16_t width, int16_t height,
                     const char* const* names, SceneItem** foundItems) {
    Unload();
    scene::MemoryText source(text, size);
    return LoadLines(source, width, height, names, foundItems);
}

bool Scene::LoadLines(scene::TextSource& source, int16_t width, int16_t height,
                      const char* const* names, SceneItem** foundItems) {
    firstFrame = 0.0f;
    lastFrame = 0.0f;
    frameStep = 1.0f;
    currentFrame = 0.0f;
    for (float& channel : ambient) {
        channel = 0.0f;
    }
    errorFileLine = 0;
    errorDetail[0] = '\0';
    static const Colour surfaceColours[4] = {
        {100, 120, 140, 0}, {200, 0, 0, 0}, {0, 200, 0, 0}, {0, 0, 200, 0}};
    for (int i = 0; i < 4; ++i) {
        defaultSurfaces[i] = Surface();
        defaultSurfaces[i].SetShadingMode(4);
        defaultSurfaces[i].SetTextureMode(1);
        defaultSurfaces[i].SetColour(surfaceColours[i]);
    }
    view.camera.matrix.SetIdentity();
    view.UpdateViewMatrix();
    view.Setup(width, height, 60, 0, 0);

    scene::LineReader lines(source);
    char line[scene::LineBufferSize];
    bool read = lines.Next(line) != 0 && std::strncmp(line, "LWSC", 4) == 0 &&
                lines.Next(line) != 0 && line[0] == '1';
    if (read) {
        SceneParser parser(*this, lines, names, foundItems);
        read = parser.Run();
    }
    if (lines.Failed()) {
        // Whatever else went wrong, the scene was not read whole.
        std::snprintf(errorDetail, sizeof errorDetail, "the file could not be read after line %ld",
                      lines.LineNumber());
        return false;
    }
    if (!read) {
        return false;
    }

    Trace("--------- SCENE ---------\n");
    Trace("FirstFrame   : %.0f\n", static_cast<double>(firstFrame));
    Trace("LastFrame    : %.0f\n", static_cast<double>(lastFrame));
    Trace("FrameStep    : %.2f\n", static_cast<double>(frameStep));
    Trace("currentFrame : %.2f\n", static_cast<double>(currentFrame));
    Trace("\n");
    Trace("--------- OBJECTS ---------\n");
    Trace("World Objects: %ld\n", static_cast<long>(itemCount));
    Trace("Objects      : %ld\n", static_cast<long>(loadedObjects.size()));
    return true;
}

bool Scene::Unload() {
    view.SetTarget(nullptr);
    for (int32_t i = 0; i < SceneSlots; ++i) {
        delete items[i];
        items[i] = nullptr;
        delete lights[i];
        lights[i] = nullptr;
    }
    itemCount = 0;
    lightCount = 0;
    setAsideItems.clear();
    loadedObjects.clear();
    cameraMotion.Release();
    cameraParent = -1;
    return true;
}

int32_t Scene::IndexOf(const SceneItem* item) const {
    for (int32_t i = 0; i < itemCount; ++i) {
        if (items[i] == item) {
            return i;
        }
    }
    return -1;
}

void Scene::SetCurrentFrame(float frame) {
    currentFrame = frame <= lastFrame ? frame : lastFrame;
}

int32_t Scene::DrawFrame() {
    View* const savedView = CurrentView;
    CurrentView = &view;
    const double frame = currentFrame;
    float value[MotionChannels];

    // Items: the local placement turns the object in its own frame, then moves
    // it; a child's world matrix is local × its parent's matrix as it stands,
    // so a parent later in the list contributes its previous frame. Parents are
    // checked when loading; one changed since then that names no item counts
    // as none.
    for (int32_t pass = 0; pass < 2; ++pass) {
        for (int32_t i = 0; i < itemCount; ++i) {
            SceneItem& item = *items[i];
            if (HasParent(item.parent) != (pass == 1)) {
                continue;
            }
            item.motion.Evaluate(value, frame);
            ObjectInstance& object = item.object;
            object.matrix.SetIdentity();
            object.SetPosition(value[X], value[Y], value[Z]);
            object.Rotate(value[Pitch], value[Heading], value[Bank]);
            if (pass == 1) {
                Matrix world;
                world.SetProduct(object.matrix, items[item.parent]->object.matrix);
                object.matrix.Copy(world);
            }
        }
    }

    // Lights: a parent moves a light by its own motion's position only.
    for (int32_t i = 0; i < lightCount; ++i) {
        Light& light = *lights[i];
        light.motion.Evaluate(value, frame);
        light.position = Vector3{value[X], value[Y], value[Z]};
        if (HasParent(light.parent)) {
            float parentValue[MotionChannels];
            items[light.parent]->motion.Evaluate(parentValue, frame);
            light.position.x += parentValue[X];
            light.position.y += parentValue[Y];
            light.position.z += parentValue[Z];
        }
    }

    // Camera: its parent's world position, but always its own orientation.
    cameraMotion.Evaluate(value, frame);
    view.camera.matrix.SetIdentity();
    Vector3 cameraPosition{value[X], value[Y], value[Z]};
    if (HasParent(cameraParent)) {
        const Vector3 parentPosition = items[cameraParent]->object.GetPosition();
        cameraPosition.x += parentPosition.x;
        cameraPosition.y += parentPosition.y;
        cameraPosition.z += parentPosition.z;
    }
    view.SetPosition(cameraPosition.x, cameraPosition.y, cameraPosition.z);
    view.Rotate(value[Pitch], value[Heading], value[Bank]);

    // Drawing: ambient plus the first light (ambient only without lights).
    // Placements that are not finite (runaway motions) are not drawn.
    Lighting lighting;
    for (int i = 0; i < 3; ++i) {
        lighting.ambient[i] = ambient[i];
    }
    if (lightCount > 0) {
        lighting.hasLight = true;
        lighting.lightPosition = lights[0]->position;
        for (int i = 0; i < 3; ++i) {
            lighting.lightColour[i] = lights[0]->colour[i];
        }
    }
    if (IsFinite(view.viewMatrix)) {
        for (int32_t i = 0; i < itemCount; ++i) {
            ObjectInstance& object = items[i]->object;
            if (!IsFinite(object.matrix) || !object.Classify()) {
                continue;
            }
            TransformToView(object);
            LightPoints(lighting, object);
            DrawPolygons(object);
        }
    }

    currentFrame += frameStep;
    CurrentView = savedView;
    return currentFrame <= lastFrame ? TruncateFrame(currentFrame) : 0;
}
