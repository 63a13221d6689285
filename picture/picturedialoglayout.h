#pragma once

#include <QFont>
#include <QRect>

#include <array>

/** The picture dialog's designed geometry, in twips of its client area. */
namespace PictureDialogLayout {

inline constexpr int ClientWidth = 6180;
inline constexpr int ClientHeight = 3510;

enum Control : std::size_t {
    Drives, ///< Drive1: the drives
    Folders, ///< Dir1: the folders of the current drive
    Files, ///< File1: the pictures of the current folder
    Preview, ///< Picture2: the preview
    Holder, ///< Picture1: the hidden holder; it takes its picture's size
    SetButton, ///< setPic: "設定"
    CancelButton, ///< btnExit: "キャンセル"
    ControlCount
};

inline constexpr std::array<QRect, ControlCount> Controls = {{
    {135, 135, 3390, 300},
    {135, 540, 3390, 1350},
    {135, 1965, 3390, 1350},
    {3765, 285, 2220, 2115},
    {5820, 2625, 255, 225},
    {4935, 2940, 1005, 345},
    {3795, 2940, 1005, 345},
}};

/** The files the file list shows; letter case does not count. */
inline constexpr char FilePattern[] = "*.bmp;*.jpeg;*.jpg;*.gif";

/** The dialog's own font. */
QFont defaultFont();

/** The font of the three lists and the two buttons. */
QFont controlFont();

} // namespace PictureDialogLayout
