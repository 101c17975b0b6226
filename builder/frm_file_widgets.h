#pragma once

#include "platform/controls.h"
#include "platform/file_lists.h"
#include "platform/list_view.h"

#include <QDialog>

#include <array>

namespace builder {

// The live control tree of the catalog builder. Every control belongs to `dialog`, so deleting
// the dialog takes all of them.
struct FrmFileWidgets {
    QDialog* dialog = nullptr;
    platform::Frame* FraDir = nullptr;
    std::array<platform::Label*, 4> LblDir{};
    platform::DriveListBox* DriveList = nullptr;
    platform::DirListBox* DirList = nullptr;
    platform::FileListBox* FileList = nullptr;
    platform::FileListBox* FileTxt = nullptr;
    platform::Label* Label1 = nullptr;
    platform::ListView* lvwFile = nullptr;
    platform::CommandButton* CmdOk = nullptr;
    platform::CommandButton* CmdCancle = nullptr;
};

inline constexpr auto kImagePattern = "*.bmp;*.gif;*.jpg;*.jpeg;*.ico;*.wmf;*.emf";
inline constexpr auto kTextPattern = "*.rtf;*.txt";

// Builds the dialog as designed (captions, geometry, fonts, colours, tool tip, tab order),
// hidden and centred on the screen. No handlers are attached and no directory is listed yet.
FrmFileWidgets createFrmFileWidgets(QWidget* owner);

}  // namespace builder
