// Main view of the show.
#include "shell/main_view.h"

#include "geometry/instance.h"
#include "geometry/view.h"

namespace {
View* mainView = nullptr;
ObjectInstance viewTarget; // what the main view aims at; never drawn
} // namespace

void UseShowDepthRange() {
    nearDistance = 0.1f;
    farDistance = 100000.0f;
}

void CreateMainView() {
    mainView = new View;
    CurrentView = mainView;
    mainView->Setup(showWidth, showHeight, 60, 0, 0);
    mainView->SetTarget(&viewTarget);
    viewTarget.SetPosition(0.0f, 0.0f, 13928.0f);
}

void ReleaseMainView() {
    if (mainView == nullptr)
        return;
    mainView->camera.ReleaseWorkArrays();
    if (CurrentView == mainView)
        CurrentView = nullptr;
    delete mainView;
    mainView = nullptr;
}
