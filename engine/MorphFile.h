// The lists and limits of the project file. A point list is "X,Y;" per point and a triangle
// list "A,B,C;" per triangle, every number in upper-case hexadecimal with at least four digits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Types.h"

namespace qv {

// A larger file is no project file and is not read.
inline constexpr uintmax_t kMaxProjectFileSize = 32u << 20;
// Only the first kMaxProjectLineLength characters of a list take part.
inline constexpr size_t kMaxProjectLineLength = 4u << 20;
// Further entries of a list are ignored.
inline constexpr size_t kMaxProjectPoints = 65536;
inline constexpr size_t kMaxProjectTriangles = 131072;

inline constexpr const char* kProjectTypeMark = "ZuntMorphing";

std::string FormatPointList(const TAngleArray& points);
std::string FormatTriangleList(const std::vector<TTrianglePerIndex>& triangles);
// Complete entries of two numbers, at most kMaxProjectPoints of them. cut, when given, tells
// whether entries were left out for the limits (the count or the line length).
TAngleArray ScanPointList(std::string_view text, bool* cut = nullptr);
// Complete entries of three numbers, at most kMaxProjectTriangles of them.
std::vector<TTrianglePerIndex> ScanTriangleList(std::string_view text, bool* cut = nullptr);
// The message of a project whose lists were cut to the limits.
std::string ListsCutText(const std::string& fileName);

}  // namespace qv
