// The application title: the text of the taskbar button and the name of the desktop shortcut.
#pragma once

inline constexpr const char* kApplicationTitle = "KorvaneVandrel - 传统版";
