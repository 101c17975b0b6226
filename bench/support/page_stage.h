#pragma once

#include "core/image_viewport.h"
#include "platform/image_control.h"
#include "platform/list_view.h"
#include "platform/picture_box.h"
#include "platform/rich_text_box.h"
#include "platform/scroll_bar.h"
#include "platform/status_bar.h"

#include <QWidget>

// The controls a page is shown on, without the reader window: what the page benchmarks turn
// pages in.
struct PageStage {
    QWidget window;
    platform::ListView list{&window};
    platform::PictureBox box{&window};
    platform::ImageControl image{box.inner()};
    platform::ScrollBar hscr{Qt::Horizontal, &window};
    platform::ScrollBar vscr{Qt::Vertical, &window};
    platform::RichTextBox text{&window};
    platform::StatusBar status{&window};
    core::ImageViewport viewport{image, box, hscr, vscr};
};
