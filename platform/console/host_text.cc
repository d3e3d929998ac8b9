#include "platform/console/host_text.h"

#include <cstring>

namespace platform::console {

void HostText::KeepAsIs(const char* text) {
  if (text != nullptr && *text != '\0') kept_.emplace_back(text);
}

std::string ToHost(const HostText* host, const char* text) { return host != nullptr ? host->ToHost(text) : text; }

std::string HostText::ToHost(const char* text) const {
  if (page_ == nullptr) return text;
  // Every path of every file passes here: the text between kept texts goes
  // to the code page in runs, not character by character.
  std::string out;
  std::size_t from = 0, i = 0;
  while (text[i] != '\0') {
    const std::string* match = nullptr;
    for (const std::string& k : kept_) {
      if (k[0] == text[i] && std::strncmp(text + i, k.c_str(), k.size()) == 0 &&
          (match == nullptr || k.size() > match->size()))
        match = &k;
    }
    if (match == nullptr) {
      ++i;
      continue;
    }
    out += page_->ToHost(std::string_view(text + from, i - from));
    out += *match;
    i += match->size();
    from = i;
  }
  return out + page_->ToHost(std::string_view(text + from, i - from));
}

platform::Status HostPathFileSystem::Around(platform::Call& call, const Next& next) {
  std::string path, target;
  if (call.path != nullptr) {
    path = text_.ToHost(call.path);
    call.path = path.c_str();
  }
  if (call.target != nullptr) {
    target = text_.ToHost(call.target);
    call.target = target.c_str();
  }
  return next(call);
}

}  // namespace platform::console
