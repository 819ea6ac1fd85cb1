#pragma once
// A short Ogg Theora video drawn frame by frame.
#include <string>

bool WriteVideo(const std::string& path);
