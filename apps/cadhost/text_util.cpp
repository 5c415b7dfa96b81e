// Text helpers of the host program.
#include "text_util.h"

#include <cctype>
#include <cstring>

#include "acutmem.h"

namespace cadhost {

std::string trimBlanks(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::string upperCase(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool abbreviates(const std::string& answer, const char* keyword, std::size_t minimum) {
  if (answer.size() < minimum || answer.size() > std::strlen(keyword)) return false;
  for (std::size_t i = 0; i < answer.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(answer[i])) != std::toupper(static_cast<unsigned char>(keyword[i])))
      return false;
  return true;
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
  return a.size() == std::strlen(b) && abbreviates(a, b, a.size());
}

std::string takeHostString(char* s) {
  std::string out = s ? s : "";
  acutDelString(s);
  return out;
}

}  // namespace cadhost
