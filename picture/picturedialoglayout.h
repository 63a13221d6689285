#pragma once

#include <QFont>
#include <QRect>

/** The picture dialog's designed geometry, in twips of its client area. */
namespace SetImgLayout {

inline constexpr int ClientWidth = 6180;
inline constexpr int ClientHeight = 3510;

inline constexpr QRect Drives{135, 135, 3390, 300}; ///< the drives
inline constexpr QRect Folders{135, 540, 3390, 1350}; ///< the folders of the current drive
inline constexpr QRect Files{135, 1965, 3390, 1350}; ///< the pictures of the current folder
inline constexpr QRect Preview{3765, 285, 2220, 2115}; ///< the preview
inline constexpr QRect Holder{5820, 2625, 255, 225}; ///< the hidden holder; it takes its picture's size
inline constexpr QRect SetButton{4935, 2940, 1005, 345}; ///< "設定"
inline constexpr QRect CancelButton{3795, 2940, 1005, 345}; ///< "キャンセル"

/** The files the file list shows; letter case does not count. */
inline constexpr char FilePattern[] = "*.bmp;*.jpeg;*.jpg;*.gif";

/** The dialog's own font. */
QFont defaultFont();

/** The font of the three lists and the two buttons. */
QFont controlFont();

} // namespace SetImgLayout
