#pragma once
// The modal text box and the question dialog.
#include <string>

int DisplayText(const std::string& text, int r, int g, int b, const std::string& image,
                int imageRight, int menuBackground);
int DisplayOptions(const std::string& text, const std::string& option1, const std::string& option2,
                   const std::string& option3, int menuBackground, int r, int g, int b,
                   const std::string& image, int imageRight);
