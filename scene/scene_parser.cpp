#include "scene/scene_parser.h"

#include "geometry/lwob.h"
#include "scene/text_scan.h"
#include "toolkit/report.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

const char* const moduleName = "Scene";

// Lines of the "Scene" source module that each report names.
enum ReportLine : long {
    LineFirstFrame = 465,
    LineLastFrame = 469,
    LineFrameStep = 472,
    LineTooManyObjects = 481,
    LineObjectName = 491,
    LineLoadObject = 492,
    LineObjectMotion = 510,
    LineAmbientColour = 516,
    LineAmbientIntensity = 519,
    LineTooManyLights = 525,
    LineLightMotion = 531,
    LineLightColour = 534,
    LineLightIntensity = 537,
    LineCameraMotion = 543,
    LineTargetObject = 547,
    LineParentObject = 553,
};

bool EqualNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int ca = std::tolower(static_cast<unsigned char>(*a));
        int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb) {
            return false;
        }
        if (ca == 0) {
            return true;
        }
    }
}

// Colour components keep their low 8 bits (256 counts as 0).
float ColourTimesIntensity(int32_t component, float intensity) {
    return static_cast<float>((component & 0xFF) * static_cast<double>(intensity) / 256.0);
}

// Parent numbers are 1-based in the file; -1 stands for "none".
int32_t ParentIndex(int32_t number) {
    return number >= 1 ? number - 1 : (number == 0 ? -1 : -2);
}

} // namespace

// Compared in this order with the start of each line (case matters); the first
// match wins and a line that matches none is skipped.
const SceneParser::Keyword SceneParser::keywords[15] = {
    {"FirstFrame", &SceneParser::FirstFrame},       {"LastFrame", &SceneParser::LastFrame},
    {"FrameStep", &SceneParser::FrameStep},         {"LoadObject", &SceneParser::LoadObject},
    {"AddNullObject", &SceneParser::AddNullObject}, {"ObjectMotion", &SceneParser::ObjectMotion},
    {"AmbientColor", &SceneParser::AmbientColor},   {"AmbIntensity", &SceneParser::AmbIntensity},
    {"AddLight", &SceneParser::AddLight},           {"LightMotion", &SceneParser::LightMotion},
    {"LightColor", &SceneParser::LightColor},       {"LgtIntensity", &SceneParser::LgtIntensity},
    {"CameraMotion", &SceneParser::CameraMotion},   {"TargetObject", &SceneParser::TargetObject},
    {"ParentObject", &SceneParser::ParentObject},
};

SceneParser::SceneParser(Scene& scene, scene::LineReader& lines, const char* const* names,
                         SceneItem** foundItems)
    : scene(scene), lines(lines), names(names), foundItems(foundItems) {
    if (names != nullptr && foundItems != nullptr) {
        while (names[nameCount] != nullptr) {
            foundItems[nameCount] = nullptr;
            ++nameCount;
        }
    }
}

SceneParser::~SceneParser() {
    SetAside(pendingItem);
    delete pendingLight;
}

bool SceneParser::Run() {
    char line[scene::LineBufferSize];
    for (;;) {
        const int length = lines.Next(line);
        if (length == 0) {
            break;
        }
        if (length <= 2) {
            EndBlock();
            continue;
        }
        const std::string_view text(line, static_cast<size_t>(length));
        for (const Keyword& keyword : keywords) {
            const std::string_view word(keyword.text);
            if (text.compare(0, word.size(), word) == 0) {
                // The argument starts one character after the keyword.
                const size_t start = word.size() < text.size() ? word.size() + 1 : text.size();
                (this->*keyword.handler)(text.substr(start));
                break;
            }
        }
        if (reported || refused) {
            // What was loaded stays in the scene: its references must hold too.
            ResolveReferences();
            return false;
        }
    }

    ResolveReferences();
    for (int i = 0; i < nameCount; ++i) {
        if (foundItems[i] == nullptr) {
            return false;
        }
    }
    return true;
}

void SceneParser::EndBlock() {
    switch (block) {
    case Block::Ambient:
        for (int i = 0; i < 3; ++i) {
            scene.ambient[i] = ColourTimesIntensity(colour[i], intensity);
        }
        break;
    case Block::Light:
        if (pendingLight != nullptr && scene.lightCount < Scene::MaxLights) {
            for (int i = 0; i < 3; ++i) {
                pendingLight->colour[i] = ColourTimesIntensity(colour[i], intensity);
            }
            scene.lights[scene.lightCount++] = pendingLight;
            pendingLight = nullptr;
        }
        break;
    case Block::Object:
        if (pendingItem != nullptr && scene.itemCount < Scene::MaxItems) {
            // Red, green, blue, blue: the turn is advanced before it is used.
            Scene::surfaceTurn = (Scene::surfaceTurn + 1) % 4;
            const int surface = Scene::surfaceTurn == 0 ? 1 : (Scene::surfaceTurn == 1 ? 2 : 3);
            SceneItem& item = *pendingItem;
            item.object.surface = &scene.defaultSurfaces[surface];
            item.object.AttachMesh(item.mesh);
            if (item.motion.keyCount > 0) {
                const float* rest = item.motion.keys[0].value;
                item.object.SetPosition(rest[0], rest[1], rest[2]);
            }
            scene.items[scene.itemCount++] = pendingItem;
            pendingItem = nullptr;
        }
        break;
    case Block::Camera:
    case Block::None:
        break;
    }
}

void SceneParser::Report(long sourceLine, const char* message) {
    ReportError(moduleName, sourceLine, "%s", message);
    scene.errorFileLine = lines.LineNumber();
    reported = true;
}

bool SceneParser::ReadMotion(Motion& motion) {
    return motion.Read(lines);
}

// An item that never entered the scene (its block did not end with a short
// line before another object began, or before the file ended) may already be
// in foundItems: the scene keeps it, undrawn, until Unload.
void SceneParser::SetAside(SceneItem* item) {
    if (item != nullptr) {
        scene.setAsideItems.emplace_back(item);
    }
}

void SceneParser::NewPendingItem() {
    SetAside(pendingItem);
    pendingItem = new SceneItem();
    block = Block::Object;
}

void SceneParser::FirstFrame(std::string_view argument) {
    float value = 0.0f;
    const int read = scene::ScanFloats(argument, &value, 1);
    if (read == 0) {
        Report(LineFirstFrame, "Unable to read FirstFrame");
    } else if (read == 1) {
        scene.firstFrame = value;
        scene.currentFrame = value;
    }
}

void SceneParser::LastFrame(std::string_view argument) {
    float value = 0.0f;
    const int read = scene::ScanFloats(argument, &value, 1);
    if (read == 0) {
        Report(LineLastFrame, "Unable to read LastFrame");
    } else if (read == 1) {
        scene.lastFrame = value;
    }
}

void SceneParser::FrameStep(std::string_view argument) {
    float value = 0.0f;
    const int read = scene::ScanFloats(argument, &value, 1);
    if (read == 0) {
        Report(LineFrameStep, "Unable to read FrameStep");
    } else if (read == 1) {
        scene.frameStep = value;
    }
}

void SceneParser::LoadObject(std::string_view argument) {
    if (scene.itemCount >= Scene::MaxItems) {
        Report(LineTooManyObjects, "To many objects in scene");
        return;
    }
    NewPendingItem();

    // The name is the first word of the argument, as "%s" reads it; a zero byte
    // is one of its characters.
    auto isSpace = [](char c) { return c != '\0' && std::isspace(static_cast<unsigned char>(c)); };
    size_t begin = 0;
    while (begin < argument.size() && isSpace(argument[begin])) {
        ++begin;
    }
    size_t length = 0;
    while (begin + length < argument.size() && !isSpace(argument[begin + length])) {
        ++length;
    }
    if (length == 0) {
        Report(LineObjectName, "Unable to read object name");
        return;
    }
    const std::string_view word = argument.substr(begin, length);
    char name[sizeof(LoadedObject::name)];
    if (length >= sizeof(name)) {
        std::snprintf(scene.errorDetail, sizeof(scene.errorDetail),
                      "the object name is longer than %u characters",
                      static_cast<unsigned>(sizeof(name) - 1));
        Report(LineLoadObject, "Unable to load object");
        return;
    }
    if (word.find('\0') != std::string_view::npos) {
        std::snprintf(scene.errorDetail, sizeof(scene.errorDetail),
                      "the object name holds a zero byte");
        Report(LineLoadObject, "Unable to load object");
        return;
    }
    std::memcpy(name, word.data(), length);
    name[length] = '\0';

    LoadObjectFile(name);
    if (!reported) {
        MatchBaseName(name);
    }
}

void SceneParser::LoadObjectFile(const char* name) {
    for (const auto& loaded : scene.loadedObjects) {
        if (std::strcmp(loaded->name, name) == 0) {
            pendingItem->mesh = &loaded->mesh;
            pendingItem->objectFile = loaded.get();
            return;
        }
    }
    std::unique_ptr<LoadedObject> loaded(new (std::nothrow) LoadedObject());
    if (loaded == nullptr) {
        Report(LineLoadObject, "Unable to load object");
        return;
    }
    std::strcpy(loaded->name, name);
    ObjectLoadReport loadReport;
    if (!Scene::objectFileLoader(loaded->mesh, name, &loadReport)) {
        std::snprintf(scene.errorDetail, sizeof(scene.errorDetail), "%s: %s", name,
                      loadReport.message[0] != '\0' ? loadReport.message
                                                    : ObjectProblemText(loadReport.problem));
        Report(LineLoadObject, "Unable to load object");
        return;
    }
    pendingItem->mesh = &loaded->mesh;
    pendingItem->objectFile = loaded.get();
    scene.loadedObjects.push_back(std::move(loaded));
}

void SceneParser::MatchBaseName(const char* name) {
    const char* base = std::strrchr(name, '\\');
    base = base != nullptr ? base + 1 : name;
    for (int i = 0; i < nameCount; ++i) {
        if (EqualNoCase(base, names[i])) {
            // A slot already filled means the object appears twice: the caller
            // could not tell the two apart.
            if (foundItems[i] != nullptr) {
                refused = true;
                return;
            }
            foundItems[i] = pendingItem;
        }
    }
}

void SceneParser::AddNullObject(std::string_view) {
    if (scene.itemCount >= Scene::MaxItems) {
        Report(LineTooManyObjects, "To many objects in scene");
        return;
    }
    NewPendingItem();
}

void SceneParser::ObjectMotion(std::string_view) {
    // Without a pending item the motion is read and dropped, so that its lines
    // are not taken for keywords.
    Motion unused;
    Motion& motion = pendingItem != nullptr ? pendingItem->motion : unused;
    if (!ReadMotion(motion)) {
        Report(LineObjectMotion, "Unable to read object motion");
    }
}

void SceneParser::AmbientColor(std::string_view argument) {
    block = Block::Ambient;
    int32_t values[3] = {colour[0], colour[1], colour[2]};
    if (scene::ScanIntegers(argument, values, 3) == 0) {
        Report(LineAmbientColour, "Unable to read ambient colour");
        return;
    }
    for (int i = 0; i < 3; ++i) {
        colour[i] = values[i];
    }
}

void SceneParser::AmbIntensity(std::string_view argument) {
    float value = 0.0f;
    const int read = scene::ScanFloats(argument, &value, 1);
    if (read == 0) {
        Report(LineAmbientIntensity, "Unable to read ambient intensity");
    } else if (read == 1) {
        intensity = value;
    }
}

void SceneParser::AddLight(std::string_view) {
    if (scene.lightCount >= Scene::MaxLights) {
        Report(LineTooManyLights, "To many lights in scene");
        return;
    }
    delete pendingLight;
    pendingLight = new Light();
    block = Block::Light;
}

void SceneParser::LightMotion(std::string_view) {
    Motion unused;
    Motion& motion = pendingLight != nullptr ? pendingLight->motion : unused;
    if (!ReadMotion(motion)) {
        Report(LineLightMotion, "Unable to read light motion");
    }
}

void SceneParser::LightColor(std::string_view argument) {
    int32_t values[3] = {colour[0], colour[1], colour[2]};
    if (scene::ScanIntegers(argument, values, 3) == 0) {
        Report(LineLightColour, "Unable to read light colour");
        return;
    }
    for (int i = 0; i < 3; ++i) {
        colour[i] = values[i];
    }
}

void SceneParser::LgtIntensity(std::string_view argument) {
    float value = 0.0f;
    const int read = scene::ScanFloats(argument, &value, 1);
    if (read == 0) {
        Report(LineLightIntensity, "Unable to read light intensity");
    } else if (read == 1) {
        intensity = value;
    }
}

void SceneParser::CameraMotion(std::string_view) {
    block = Block::Camera;
    if (!ReadMotion(scene.cameraMotion)) {
        Report(LineCameraMotion, "Unable to read camera motion");
        return;
    }
    if (scene.cameraMotion.keyCount > 0) {
        const float* start = scene.cameraMotion.keys[0].value;
        scene.view.SetPosition(start[0], start[1], start[2]);
    }
}

void SceneParser::TargetObject(std::string_view argument) {
    int32_t number = 0;
    const int read = scene::ScanIntegers(argument, &number, 1);
    if (read == 0) {
        Report(LineTargetObject, "Unable to read TargetObject");
    } else if (read == 1) {
        targetNumber = number;
    }
}

void SceneParser::ParentObject(std::string_view argument) {
    int32_t number = 0;
    const int read = scene::ScanIntegers(argument, &number, 1);
    if (read == 0) {
        Report(LineParentObject, "Unable to read ObjectParent");
        return;
    }
    if (read != 1) {
        return;
    }
    // Judged once the whole file is read: a parent may come later in the file.
    const int32_t parent = ParentIndex(number);
    switch (block) {
    case Block::Camera:
        scene.cameraParent = parent;
        break;
    case Block::Light:
        if (pendingLight != nullptr) {
            pendingLight->parent = parent;
        }
        break;
    case Block::Object:
        if (pendingItem != nullptr) {
            pendingItem->parent = parent;
        }
        break;
    case Block::Ambient:
    case Block::None:
        break;
    }
}

// Parent and target numbers that name no item of the loaded scene are dropped
// (the item, light or camera then stands on its own), and so is the link that
// closes a loop of parents.
void SceneParser::ResolveReferences() {
    const int32_t count = scene.itemCount;
    auto valid = [count](int32_t index) { return index >= 0 && index < count; };
    auto drop = [](int32_t& parent, const char* what, int32_t index) {
        if (parent != -1) {
            Trace("Scene: %s %ld names no item, parent dropped\n", what, static_cast<long>(index));
            parent = -1;
        }
    };

    for (int32_t i = 0; i < count; ++i) {
        SceneItem& item = *scene.items[i];
        if (!valid(item.parent)) {
            drop(item.parent, "the parent of item", i + 1);
        }
    }
    for (auto& item : scene.setAsideItems) {
        if (!valid(item->parent)) {
            item->parent = -1;
        }
    }
    for (int32_t i = 0; i < count; ++i) {
        // Follow the chain of parents; coming back to the item closes a loop.
        int32_t at = scene.items[i]->parent;
        for (int32_t steps = 0; at != -1 && steps < count; ++steps) {
            if (at == i) {
                drop(scene.items[i]->parent, "a loop of parents at item", i + 1);
                break;
            }
            at = scene.items[at]->parent;
        }
    }
    for (int32_t i = 0; i < scene.lightCount; ++i) {
        if (!valid(scene.lights[i]->parent)) {
            drop(scene.lights[i]->parent, "the parent of light", i + 1);
        }
    }
    if (!valid(scene.cameraParent)) {
        drop(scene.cameraParent, "the camera's parent", 0);
    }
    if (targetNumber != 0) {
        if (targetNumber >= 1 && targetNumber <= count) {
            scene.view.SetTarget(&scene.items[targetNumber - 1]->object);
        } else {
            Trace("Scene: TargetObject %ld names no item, ignored\n",
                  static_cast<long>(targetNumber));
        }
    }
}
