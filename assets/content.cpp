#include "assets/content.h"

#include "assets/lwob_writer.h"
#include "assets/lwsc_writer.h"
#include "assets/options_layout.h"
#include "assets/square.h"
#include "assets/stroke_font.h"
#include "effect/param_table.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <map>

namespace assets {

namespace {

// ---------------------------------------------------------------------------
// The layout table. Pixel positions are those of a 640 x 480 screen; the effect
// fills the screen left of about x = 390, so the panel takes the right part.

// Depth of each layer, scene units (the cursor moves at z = 0, nearest).
constexpr float knobZ = 0.05f;      // front face of the knobs
constexpr float labelZ = 0.06f;     // text on the panel
constexpr float trackZ = 0.10f;     // slider tracks and button plates
constexpr float panelLineZ = 0.17f; // lit border and group lines of the panel
constexpr float panelZ = 0.20f;     // the panel's dark back plate
constexpr float bevelDepth = 0.03f; // how far a knob's or plate's rim lies behind its face
constexpr float knobTravel = 0.38f; // a knob's height runs from -0.38 to +0.38

constexpr float panelLeft = 378.0f, panelRight = 636.0f;
constexpr float panelTop = 6.0f, panelBottom = 474.0f;
constexpr int columnCount = 5;
constexpr float columnWidth = (panelRight - panelLeft) / columnCount;
constexpr float firstRowTop = 12.0f;
constexpr float rowPitch = 108.0f;
// Within a row, from its top: the heading, the track's centre, the X/Y/Z tag.
constexpr float headingDrop = 6.0f, trackDrop = 52.0f, tagDrop = 97.0f;
constexpr float buttonRowY = 457.0f;
constexpr float buttonWidth = 46.0f, buttonHeight = 22.0f, buttonRim = 2.5f; // pixels
// Pixels kept clear between a button's label and the rims of its plate.
constexpr float buttonLabelMargin = 2.5f;

constexpr float headingCap = 9.0f, tagCap = 8.0f, buttonCap = 9.0f; // capital height, pixels
constexpr float smallStroke = 1.6f, buttonStroke = 1.3f;            // pixels

float ColumnX(float column) {
    return panelLeft + columnWidth * (column + 0.5f);
}
float RowTop(int row) {
    return firstRowTop + rowPitch * static_cast<float>(row);
}

// One slider per effect parameter, in parameter order, placed by the
// parameter's row and column. The knob's object is "ZTOB-Btn" + name + ".lwo".
// Sliders of one group share a heading and carry an X/Y/Z tag below. top and
// bottom are the values at the knob's stops and start the value the effect
// starts with: together they give the knob's first height.
struct SliderPlace {
    const char* name;
    const char* tag; // "" for a slider alone in its group
    int row;
    int column;
    double top, bottom, start;
};

// The parameter list's name, range, start-up value and panel place; the rest of
// a row (the effect's accessors among it) is never compiled here.
#define SOLVANE_SLIDER_PLACE(name, top, bottom, drag, start, reset, kind, knob, row, column, tag,  \
                             ...)                                                                  \
    {#name, tag, row, column, top, bottom, start},
const SliderPlace sliders[] = {SOLVANE_EFFECT_PARAMETERS(SOLVANE_SLIDER_PLACE)};
#undef SOLVANE_SLIDER_PLACE
constexpr int sliderCount = sizeof sliders / sizeof sliders[0];
static_assert(sliderCount == ParameterCount, "one slider per effect parameter");

// The group a slider belongs to: its name without its tag.
std::string Group(const SliderPlace& slider) {
    const std::string name = slider.name;
    return name.substr(0, name.size() - std::string(slider.tag).size());
}

// The push buttons, left to right on the bottom row, labelled with their names.
#define SOLVANE_BUTTON_NAME(name) #name,
const char* const buttons[] = {SOLVANE_PUSH_BUTTONS(SOLVANE_BUTTON_NAME)};
#undef SOLVANE_BUTTON_NAME
constexpr size_t buttonCount = sizeof buttons / sizeof buttons[0];

// Where the spare columns of the last slider row show the program's name.
constexpr float titleColumn = 3.5f;
constexpr float titleCap = 15.0f, titleStroke = 2.4f;

// The About credits: a box in the middle of the screen that drops in from above.
constexpr float creditsX = 320.0f, creditsY = 236.0f;
constexpr float creditsWidth = 380.0f, creditsHeight = 190.0f;
constexpr float creditsZ = 0.15f;
const char* const creditsTitle = "Solvane v0.9";
struct CreditsLine {
    const char* text;
    float y;   // pixels from the box's centre, down
    float cap; // pixels
};
const CreditsLine creditsLines[] = {
    {"a real-time 3D screen saver", -14.0f, 10.0f},
    {"written by the Solvane team", 10.0f, 10.0f},
    {"contact: see the README", 34.0f, 10.0f},
    {"press a mouse button to go on", 68.0f, 8.0f},
};
constexpr float creditsTitleY = -56.0f, creditsTitleCap = 24.0f, creditsTitleStroke = 3.4f;

// ---------------------------------------------------------------------------
// Items and their colours. The scene gives its items default surfaces in turn
// by file position: green, blue, blue, red, and again. Items that need another
// colour than the next in turn wait behind null objects.

enum class Tint { Green, Blue, Red };

Tint TintOfSlot(int slot) {
    switch (slot % 4) {
    case 0:
        return Tint::Green;
    case 3:
        return Tint::Red;
    default:
        return Tint::Blue;
    }
}

struct Item {
    std::string object; // base name of the object file; empty for a null object
    Tint tint = Tint::Green;
    SceneMotion motion;
    int parent = -1; // index into the item list, -1 = root
};

struct Builder {
    std::vector<Item> items;                             // in the order they are added
    std::map<std::string, std::vector<uint8_t>> objects; // base name -> file bytes

    int Add(const std::string& object, Tint tint, SceneMotion motion, int parent = -1) {
        assert(parent < static_cast<int>(items.size()) && "parents come first");
        items.push_back({object, tint, std::move(motion), parent});
        return static_cast<int>(items.size()) - 1;
    }
    void AddObject(const std::string& name, const LwobWriter& object) {
        objects[name] = object.Bytes();
    }
};

SceneMotion Still(float x, float y, float z) {
    SceneKey key;
    key.x = x;
    key.y = y;
    key.z = z;
    return {key};
}

// ---------------------------------------------------------------------------
// Shapes, in object units around the object's origin.

uint8_t Byte(Tint tint, Tint channel) {
    return tint == channel ? 200 : 0;
}

LwobWriter NewObject(const std::string& surface, Tint tint) {
    return LwobWriter(surface, Byte(tint, Tint::Red), Byte(tint, Tint::Green),
                      Byte(tint, Tint::Blue));
}

// A raised plate: a flat face at z = 0 and four sloping rims reaching back to
// z = depth, each its own points so that the light shades every side apart. A
// face turned away from the light stays dark inside the lit rims.
void AddBevelBox(LwobWriter& object, float width, float height, float rim, float depth,
                 Facing face = Facing::TowardViewer) {
    float iw = width * 0.5f - rim, ih = height * 0.5f - rim;
    float ow = width * 0.5f, oh = height * 0.5f;
    object.AddRectangle(0.0f, 0.0f, iw * 2.0f, ih * 2.0f, 0.0f, face);
    object.AddFacing({{-iw, ih, 0}, {iw, ih, 0}, {ow, oh, depth}, {-ow, oh, depth}},
                     Facing::TowardViewer);
    object.AddFacing({{iw, ih, 0}, {iw, -ih, 0}, {ow, -oh, depth}, {ow, oh, depth}},
                     Facing::TowardViewer);
    object.AddFacing({{iw, -ih, 0}, {-iw, -ih, 0}, {-ow, -oh, depth}, {ow, -oh, depth}},
                     Facing::TowardViewer);
    object.AddFacing({{-iw, -ih, 0}, {-iw, ih, 0}, {-ow, oh, depth}, {-ow, -oh, depth}},
                     Facing::TowardViewer);
}

// An outline of an axis-aligned rectangle (four bars), lit from the front.
void AddFrame(LwobWriter& object, float cx, float cy, float width, float height, float line,
              float z) {
    float hw = width * 0.5f, hh = height * 0.5f;
    object.AddRectangle(cx, cy + hh - line * 0.5f, width, line, z, Facing::TowardViewer);
    object.AddRectangle(cx, cy - hh + line * 0.5f, width, line, z, Facing::TowardViewer);
    object.AddRectangle(cx - hw + line * 0.5f, cy, line, height - 2.0f * line, z,
                        Facing::TowardViewer);
    object.AddRectangle(cx + hw - line * 0.5f, cy, line, height - 2.0f * line, z,
                        Facing::TowardViewer);
}

// A text object centred on its origin.
LwobWriter TextObject(const std::string& text, float capPixels, float strokePixels, float z) {
    float unit = static_cast<float>(UnitsPerPixel(z));
    LwobWriter object = NewObject("ZT-Text", Tint::Green);
    AddText(object, text, {capPixels * unit, strokePixels * unit}, 0.0f, 0.0f, 0.0f,
            Facing::TowardViewer);
    return object;
}

// The mouse cursor: an arrow whose tip is the origin (the point that picks),
// pointing up and to the left, and its dark outline: the same arrow grown around
// its middle, just behind it and facing away from the light. Both are one object,
// so that hiding the cursor (while a knob is dragged) hides its outline too.
LwobWriter CursorObject() {
    float unit = static_cast<float>(UnitsPerPixel(cursorZ));
    // Pixels, y up.
    const std::vector<std::pair<float, float>> head = {{0, 0}, {0, -16}, {11.5f, -11.5f}};
    const std::vector<std::pair<float, float>> tail = {
        {4.3f, -12.8f}, {7.5f, -11.6f}, {10.5f, -18.2f}, {7.4f, -19.4f}};
    const float middleX = 4.5f, middleY = -10.5f;
    const float outlineGrow = 1.25f, outlineBehind = 0.04f; // scene units
    LwobWriter object = NewObject("ZT-Cursor", Tint::Green);
    for (bool outline : {false, true}) {
        const float grow = outline ? outlineGrow : 1.0f;
        for (const auto* shape : {&head, &tail}) {
            std::vector<std::pair<float, float>> corners;
            for (auto [x, y] : *shape)
                corners.push_back({(middleX + (x - middleX) * grow) * unit,
                                   (middleY + (y - middleY) * grow) * unit});
            object.AddFlat(corners, outline ? outlineBehind : 0.0f,
                           outline ? Facing::AwayFromViewer : Facing::TowardViewer);
        }
    }
    return object;
}

// ---------------------------------------------------------------------------
// Animation. Every root item of the panel gets the same choreography, staggered
// by where it sits; children (knobs, ticks, labels on tracks and plates) follow
// their parents. All stretches start and end in the resting pose.

struct Pose {
    float x, y, z;
};

struct Choreography {
    float slideOrder; // 0 (leaves first in About) to 16 (leaves last)
    float waveOrder;  // 0 to 18, frames after the Colour stretch starts
    float flipOrder;  // 0 to 28, frames after the Anim stretch starts
    bool flips;       // turns once about its vertical axis in Anim
    bool bobs;        // comes forward and back in Colour
};

constexpr float aboutSlide = 5.5f; // how far right the panel slides off, scene units
constexpr float colourBob = 0.25f; // how far the panel comes forward in Colour

SceneKey KeyAt(int frame, const Pose& pose, float heading = 0.0f) {
    SceneKey key;
    key.frame = frame;
    key.x = pose.x;
    key.y = pose.y;
    key.z = pose.z;
    key.heading = heading;
    key.tension = 1.0f; // ease into and out of every key
    return key;
}

SceneMotion PanelMotion(const Pose& rest, const Choreography& dance) {
    Pose away = {rest.x + aboutSlide, rest.y, rest.z};
    Pose forward = {rest.x, rest.y, rest.z - colourBob};
    int out = 1 + static_cast<int>(std::lround(dance.slideOrder));
    int back = 58 + static_cast<int>(std::lround(16.0f - dance.slideOrder));
    int wave = colourStartFrame + 4 + static_cast<int>(std::lround(dance.waveOrder));
    int flip = animStartFrame + 4 + static_cast<int>(std::lround(dance.flipOrder));

    SceneMotion motion;
    motion.push_back(KeyAt(0, rest));
    motion.push_back(KeyAt(out, rest));
    motion.push_back(KeyAt(out + 14, away));
    motion.push_back(KeyAt(back, away));
    motion.push_back(KeyAt(back + 20, rest));
    motion.push_back(KeyAt(aboutEndFrame, rest));
    motion.push_back(KeyAt(colourStartFrame, rest));
    if (dance.bobs) {
        motion.push_back(KeyAt(wave, rest));
        motion.push_back(KeyAt(wave + 12, forward));
        motion.push_back(KeyAt(wave + 26, rest));
    }
    motion.push_back(KeyAt(animStartFrame, rest));
    if (dance.flips) {
        // One whole turn, then back to 0 degrees on the next frame, which looks
        // the same: frames are drawn at whole numbers only.
        motion.push_back(KeyAt(flip, rest));
        motion.push_back(KeyAt(flip + 30, rest, 360.0f));
        motion.push_back(KeyAt(flip + 31, rest));
    }
    motion.push_back(KeyAt(animEndFrame, rest));
    return motion;
}

// Stagger from the pixel column and row an item sits in.
Choreography DanceAt(float column, float row, bool flips = true, bool bobs = true) {
    Choreography dance;
    dance.slideOrder = std::clamp(3.0f * (columnCount - 1 - column) + row * 0.5f, 0.0f, 14.0f);
    dance.waveOrder = 2.0f * column + 2.0f * row;
    dance.flipOrder = 3.0f * column + 4.0f * row;
    dance.flips = flips;
    dance.bobs = bobs;
    return dance;
}

// The light circles the panel once in the Colour stretch: as it passes behind,
// the dark back plate lights up and the faces turn dark, then it comes round.
SceneMotion LightMotion() {
    const Pose rest = {3.5f, 6.0f, -6.0f};
    const float centreX = 2.5f, centreZ = 0.1f;
    SceneMotion motion;
    auto add = [&](int frame, float angle) {
        float dx = rest.x - centreX, dz = rest.z - centreZ;
        float c = std::cos(angle), s = std::sin(angle);
        SceneKey key;
        key.frame = frame;
        key.x = centreX + dx * c + dz * s;
        key.y = rest.y;
        key.z = centreZ - dx * s + dz * c;
        motion.push_back(key);
    };
    add(0, 0.0f);
    add(colourStartFrame, 0.0f);
    const int steps = 24;
    for (int i = 1; i < steps; ++i) {
        float t = static_cast<float>(i) / steps;
        float eased = t * t * (3.0f - 2.0f * t);
        add(colourStartFrame + 4 + i * 4, 6.2831853f * eased);
    }
    add(animStartFrame, 0.0f);
    return motion;
}

// ---------------------------------------------------------------------------

float KnobHeight(const SliderPlace& slider) {
    double y = 0.38 - 0.76 * (slider.start - slider.top) / (slider.bottom - slider.top);
    return static_cast<float>(y);
}

// Gives pixel (px, py) at depth z in scene units.
Pose PoseAt(float px, float py, float z) {
    return {SceneX(px, z), SceneY(py, z), z};
}

void BuildPanel(Builder& scene) {
    const float trackUnit = static_cast<float>(UnitsPerPixel(trackZ));

    // The back plate, dark: its face looks away from the light, so only the
    // ambient light reaches it. Its lit lines frame the panel, split the rows
    // and separate the groups.
    {
        Pose centre =
            PoseAt((panelLeft + panelRight) * 0.5f, (panelTop + panelBottom) * 0.5f, panelZ);
        float unit = static_cast<float>(UnitsPerPixel(panelZ));
        float width = (panelRight - panelLeft) * unit, height = (panelBottom - panelTop) * unit;
        LwobWriter panel = NewObject("ZT-Panel", Tint::Blue);
        panel.AddRectangle(0, 0, width, height, 0, Facing::AwayFromViewer);
        float line = 1.5f * unit, lineZ = panelLineZ - panelZ;
        AddFrame(panel, 0, 0, width - 2.0f * unit, height - 2.0f * unit, line, lineZ);
        auto toX = [&](float px) { return (px - (panelLeft + panelRight) * 0.5f) * unit; };
        auto toY = [&](float py) { return ((panelTop + panelBottom) * 0.5f - py) * unit; };
        float inner = width - 10.0f * unit;
        for (int row = 1; row <= 4; ++row) {
            float py = RowTop(row) - 4.0f;
            panel.AddRectangle(0, toY(py), inner, line, lineZ, Facing::TowardViewer);
        }
        // Group boundaries within each row.
        for (int i = 1; i < sliderCount; ++i) {
            const SliderPlace& a = sliders[i - 1];
            const SliderPlace& b = sliders[i];
            if (a.row != b.row || Group(a) == Group(b))
                continue;
            float px = panelLeft + columnWidth * static_cast<float>(b.column);
            float top = RowTop(b.row) + 2.0f, bottom = RowTop(b.row) + rowPitch - 10.0f;
            panel.AddRectangle(toX(px), toY((top + bottom) * 0.5f), line, (bottom - top) * unit,
                               lineZ, Facing::TowardViewer);
        }
        // Between the last group of the last row and the title.
        float px = panelLeft + columnWidth * 3.0f;
        float top = RowTop(3) + 2.0f, bottom = RowTop(3) + rowPitch - 10.0f;
        panel.AddRectangle(toX(px), toY((top + bottom) * 0.5f), line, (bottom - top) * unit, lineZ,
                           Facing::TowardViewer);
        scene.AddObject("ZT-Panel.lwo", panel);
        Choreography dance = DanceAt(0, 0, false, false);
        dance.slideOrder = 16.0f;
        scene.Add("ZT-Panel.lwo", Tint::Blue, PanelMotion(centre, dance));
    }

    // Shared shapes: the track (a slot a little longer than the knob's travel)
    // and its tick marks at the stops and the middle.
    {
        const float slotWidth = 4.0f * trackUnit, slotHeight = 2.0f * knobTravel + 0.16f;
        LwobWriter track = NewObject("ZT-Track", Tint::Blue);
        track.AddRectangle(0, 0, slotWidth, slotHeight, 0, Facing::TowardViewer);
        scene.AddObject("ZT-Track.lwo", track);
        // The slot of a slider whose knob the options screen hides (Delay): an
        // empty outline, so that it reads as out of use.
        LwobWriter idle = NewObject("ZT-TrackIdle", Tint::Blue);
        AddFrame(idle, 0, 0, slotWidth, slotHeight, 1.0f * trackUnit, 0);
        scene.AddObject("ZT-TrackIdle.lwo", idle);
        LwobWriter ticks = NewObject("ZT-Ticks", Tint::Blue);
        for (float y : {knobTravel, 0.0f, -knobTravel}) {
            for (float side : {-1.0f, 1.0f})
                ticks.AddRectangle(side * 11.0f * trackUnit, y, 7.0f * trackUnit, 1.5f * trackUnit,
                                   0, Facing::TowardViewer);
        }
        scene.AddObject("ZT-Ticks.lwo", ticks);
        for (const char* tag : {"X", "Y", "Z"})
            scene.AddObject(std::string("ZT-Tag") + tag + ".lwo",
                            TextObject(tag, tagCap, smallStroke, labelZ));
    }

    // Sliders: track (root), ticks, knob and label or tag (children).
    const float knobUnit = static_cast<float>(UnitsPerPixel(knobZ));
    for (int index = 0; index < sliderCount; ++index) {
        const SliderPlace& slider = sliders[index];
        float px = ColumnX(static_cast<float>(slider.column));
        float top = RowTop(slider.row);
        Pose rest = PoseAt(px, top + trackDrop, trackZ);
        bool idle = index == HiddenKnob;
        int track = scene.Add(idle ? "ZT-TrackIdle.lwo" : "ZT-Track.lwo", Tint::Blue,
                              PanelMotion(rest, DanceAt(static_cast<float>(slider.column),
                                                        static_cast<float>(slider.row))));
        scene.Add("ZT-Ticks.lwo", Tint::Blue, Still(0, 0, 0), track);

        std::string knobName = std::string("ZTOB-Btn") + slider.name + ".lwo";
        LwobWriter knob = NewObject("ZT-Knob", Tint::Red);
        AddBevelBox(knob, 24.0f * knobUnit, 10.0f * knobUnit, 2.5f * knobUnit, bevelDepth);
        scene.AddObject(knobName, knob);
        scene.Add(knobName, Tint::Red, Still(0, KnobHeight(slider), knobZ - trackZ), track);

        // The label (alone in its group: its name above; else its X/Y/Z tag
        // below) is placed relative to the track, in scene units.
        float labelX = SceneX(px, labelZ) - rest.x;
        if (slider.tag[0] == '\0') {
            std::string labelName = std::string("ZT-Label") + slider.name + ".lwo";
            scene.AddObject(labelName, TextObject(slider.name, headingCap, smallStroke, labelZ));
            float dy = SceneY(top + headingDrop, labelZ) - rest.y;
            scene.Add(labelName, Tint::Green, Still(labelX, dy, labelZ - trackZ), track);
        } else {
            std::string tagName = std::string("ZT-Tag") + slider.tag + ".lwo";
            float dy = SceneY(top + tagDrop, labelZ) - rest.y;
            scene.Add(tagName, Tint::Green, Still(labelX, dy, labelZ - trackZ), track);
        }
    }

    // Headings of the groups with more than one slider (roots of their own).
    for (int i = 0; i < sliderCount;) {
        int j = i;
        const std::string group = Group(sliders[i]);
        while (j + 1 < sliderCount && Group(sliders[j + 1]) == group)
            ++j;
        if (j > i) {
            float column = (sliders[i].column + sliders[j].column) * 0.5f;
            float py = RowTop(sliders[i].row) + headingDrop;
            std::string name = "ZT-Head" + group + ".lwo";
            scene.AddObject(name, TextObject(group, headingCap, smallStroke, labelZ));
            scene.Add(name, Tint::Green,
                      PanelMotion(PoseAt(ColumnX(column), py, labelZ),
                                  DanceAt(column, static_cast<float>(sliders[i].row))));
        }
        i = j + 1;
    }

    // The program's name in the spare columns of the last row.
    {
        Pose rest = PoseAt(ColumnX(titleColumn), RowTop(3) + trackDrop - 6.0f, labelZ);
        scene.AddObject("ZT-Title.lwo", TextObject("Solvane", titleCap, titleStroke, labelZ));
        scene.Add("ZT-Title.lwo", Tint::Green, PanelMotion(rest, DanceAt(titleColumn, 3)));
    }

    // Push buttons: plate (root, the pickable object) and label (child). The
    // plate's face is turned away from the light: dark inside its lit rims, so
    // that the label, lit green, reads on blue and red plates alike.
    const float plateUnit = static_cast<float>(UnitsPerPixel(trackZ));
    std::vector<int> plates;
    for (size_t b = 0; b < buttonCount; ++b) {
        std::string name = std::string("ZTOB-Btn") + buttons[b] + ".lwo";
        Tint tint = b + 1 == buttonCount ? Tint::Red : Tint::Blue; // Quit
        LwobWriter plate = NewObject("ZT-Button", tint);
        AddBevelBox(plate, buttonWidth * plateUnit, buttonHeight * plateUnit, buttonRim * plateUnit,
                    bevelDepth, Facing::AwayFromViewer);
        scene.AddObject(name, plate);
        float column = static_cast<float>(b);
        plates.push_back(scene.Add(
            name, tint,
            PanelMotion(PoseAt(ColumnX(column), buttonRowY, trackZ), DanceAt(column, 4))));
    }
    // Every label in one size: the largest, up to buttonCap, at which the widest
    // keeps its margin.
    float widest = 0.0f;
    for (const char* label : buttons)
        widest = std::max(widest, TextWidth(label, {buttonCap, buttonStroke}));
    const float room = buttonWidth - 2.0f * (buttonRim + buttonLabelMargin);
    const float labelCap = std::min(buttonCap, buttonCap * room / widest);
    for (size_t b = 0; b < plates.size(); ++b) {
        std::string name = std::string("ZT-Label") + buttons[b] + ".lwo";
        scene.AddObject(name, TextObject(buttons[b], labelCap, buttonStroke, labelZ));
        float column = static_cast<float>(b);
        float dx = SceneX(ColumnX(column), labelZ) - SceneX(ColumnX(column), trackZ);
        float dy = SceneY(buttonRowY, labelZ) - SceneY(buttonRowY, trackZ);
        scene.Add(name, Tint::Green, Still(dx, dy, labelZ - trackZ), plates[b]);
    }
}

void BuildCredits(Builder& scene) {
    float unit = static_cast<float>(UnitsPerPixel(creditsZ));
    LwobWriter box = NewObject("ZT-CreditsBox", Tint::Blue);
    box.AddRectangle(0, 0, creditsWidth * unit, creditsHeight * unit, 0, Facing::AwayFromViewer);
    AddFrame(box, 0, 0, (creditsWidth - 6.0f) * unit, (creditsHeight - 6.0f) * unit, 2.0f * unit,
             -0.03f);
    scene.AddObject("ZT-CreditsBox.lwo", box);

    // Parked above the screen; drops in while the panel leaves, stands through
    // the hold at frame 39, and rises again before the panel comes back.
    Pose shown = PoseAt(creditsX, creditsY, creditsZ);
    Pose parked = {shown.x, shown.y + 6.5f, shown.z};
    SceneMotion motion = {KeyAt(0, parked), KeyAt(aboutHoldFrame - 25, parked),
                          KeyAt(aboutHoldFrame - 3, shown), KeyAt(aboutHoldFrame + 3, shown),
                          KeyAt(aboutHoldFrame + 17, parked)};
    int parent = scene.Add("ZT-CreditsBox.lwo", Tint::Blue, motion);

    float textZ = creditsZ - 0.05f;
    float textUnit = static_cast<float>(UnitsPerPixel(textZ));
    LwobWriter title = NewObject("ZT-CreditsTitle", Tint::Red);
    AddText(title, creditsTitle, {creditsTitleCap * textUnit, creditsTitleStroke * textUnit}, 0, 0,
            0, Facing::TowardViewer);
    scene.AddObject("ZT-CreditsTitle.lwo", title);
    scene.Add("ZT-CreditsTitle.lwo", Tint::Red,
              Still(0, -creditsTitleY * textUnit, textZ - creditsZ), parent);

    LwobWriter lines = NewObject("ZT-Credits", Tint::Green);
    for (const CreditsLine& line : creditsLines)
        AddText(lines, line.text, {line.cap * textUnit, smallStroke * textUnit}, 0,
                -line.y * textUnit, 0, Facing::TowardViewer);
    scene.AddObject("ZT-Credits.lwo", lines);
    scene.Add("ZT-Credits.lwo", Tint::Green, Still(0, 0, textZ - creditsZ), parent);
}

void BuildCursor(Builder& scene) {
    scene.AddObject("ZTOB-MCursor.lwo", CursorObject());
    // Starts in the middle of the screen.
    scene.Add("ZTOB-MCursor.lwo", Tint::Green, Still(cameraX, cameraY, cursorZ));
}

// Puts the items into file order: each where its colour comes round, null
// objects filling the turns in between. Items keep their relative order, so
// parents stay ahead of their children.
std::vector<SceneObject> PlaceItems(const std::vector<Item>& items) {
    std::vector<SceneObject> placed;
    std::vector<int> number(items.size(), 0); // 1-based scene number of each item
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        while (TintOfSlot(static_cast<int>(placed.size())) != item.tint) {
            SceneObject spacer;
            spacer.nullName = "Spacer";
            spacer.motion = Still(0, 0, 0);
            placed.push_back(spacer);
        }
        SceneObject object;
        object.file = "objects\\" + item.object;
        object.motion = item.motion;
        object.parent = item.parent >= 0 ? number[item.parent] : 0;
        placed.push_back(object);
        number[i] = static_cast<int>(placed.size());
    }
    return placed;
}

std::string OptionsSceneText(const Builder& scene) {
    SceneDescription description;
    description.firstFrame = restingFrame;
    description.lastFrame = lastSceneFrame;
    description.frameStep = 1.0f;
    description.objects = PlaceItems(scene.items);
    description.ambientIntensity = 0.2f;
    description.light.motion = LightMotion();
    description.light.intensity = 1.0f;
    description.camera = Still(cameraX, cameraY, cameraZ);
    return SceneText(description);
}

} // namespace

std::vector<ContentFile> BuildContent() {
    std::vector<ContentFile> files;
    files.push_back({"data\\Square.lwo", MakeSquare().Bytes()});

    Builder scene;
    BuildPanel(scene);
    BuildCredits(scene);
    BuildCursor(scene);
    std::string text = OptionsSceneText(scene);
    files.push_back({"scenes\\ZT-Options.lws", std::vector<uint8_t>(text.begin(), text.end())});
    for (const auto& [name, bytes] : scene.objects)
        files.push_back({"objects\\" + name, bytes});
    return files;
}

bool WriteContent(const std::vector<ContentFile>& files, const std::string& folder) {
    for (const ContentFile& file : files) {
        std::string path = folder;
        path += '/';
        for (char c : file.name)
            path += c == '\\' ? '/' : c;
        if (!WriteFileBytes(path, file.bytes)) {
            std::fprintf(stderr, "slvgen: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

} // namespace assets
