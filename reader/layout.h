#pragma once

#include "platform/geometry.h"

#include <optional>

// The reader window's pane layout, as arithmetic over twips values. Each assignment stands on its
// own: a rejected one (a negative size in a small window) leaves that value as it was, and the
// following steps read whatever the earlier ones left.
namespace reader {

struct WindowMetrics {
    float outerWidth = 0.0f;    // W: frame, caption and menu bar included
    float outerHeight = 0.0f;   // H
    float clientHeight = 0.0f;  // SH
    float statusHeight = 0.0f;  // S
};

struct LayoutState {
    platform::Geometry fraTxtCmd, listVW, picPic, rtBox, hScr, vScr, fraCmdPic;
    bool fraTxtCmdVisible = true;
    bool picPicVisible = true;
    // Enabled states the layout sets; left empty where it does not touch them.
    std::optional<bool> zoomAndPlayEnabled;  // CmdPic(0..2)
    std::optional<bool> menuPicLargeEnabled;
};

// The three view modes, read from what is visible.
enum class ViewMode { Split, TextMaximised, ImageFullScreen };
ViewMode viewMode(bool fraTxtCmdVisible, bool picPicVisible);

// The re-layout of a resize, up to (not including) fitting and placing the image.
void relayout(LayoutState& s, const WindowMetrics& m);

// The viewport over the whole window, with the scroll bars at its bottom and right edges.
void fullScreenLayout(LayoutState& s, const WindowMetrics& m);

// The text pane moved over the viewport's place (its width is left to the next resize).
void textMaximisedLayout(LayoutState& s);

}  // namespace reader
