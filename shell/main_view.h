// The show's main View: made current at the start of the show, aimed at a
// target instance that is never drawn, released at shutdown. Kept apart from
// the Win32 names, whose GDI Polygon would hide the geometry's Polygon type.
#pragma once

// The view volume's depth while the show runs: near 0.1, far 100000 view
// units. Set once Glide is open, before any View is set up.
void UseShowDepthRange();
// new View, current, Setup(showWidth, showHeight, 60, 0, 0), target at (0, 0, 13928).
void CreateMainView();
// Frees the camera's work arrays and deletes the view; harmless without one.
void ReleaseMainView();
