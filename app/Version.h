// The client's version: its number, the date of its build and the release notes that the
// update server publishes with it. Everything that names the version reads it from here.
#pragma once

inline constexpr const char* kVersionText = "5.2.1.12";
inline constexpr const char* kVersionDate = "2016-08-25";
inline constexpr const char* kReleaseNotes =
    "v5.2.1.12\r\n\r\n1.增加虚拟运营商号段支持\r\n2.其他常规功能优化及问题修复";
