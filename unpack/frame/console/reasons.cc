#include "unpack/frame/console/reasons.h"

#include "platform/posix/host_error.h"
#include "unpack/archive/format.h"

namespace kivo::console {

std::string CountOf(std::uint64_t n, const char* one, const char* many) {
  // Built forwards: GCC 12's optimiser misreads insert() into a string
  // being shortened from the back as an overlapping copy.
  const std::string digits = std::to_string(n);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text + " " + (n == 1 ? one : many);
}

std::string DescribeArchiveFault(const ArchiveCheck& check) {
  switch (check.fault) {
    case ArchiveFault::kNone: return "";
    case ArchiveFault::kUnreadable: return "the kit cannot be read to its end";
    case ArchiveFault::kNoEntries: return "its header says it holds no entries";
    case ArchiveFault::kTooLarge: return "the file is 4 GiB or larger, and no kit is";
    case ArchiveFault::kSizeMismatch:
      // A download cut short is by far the likeliest cause of a short kit.
      if (check.fileSize < check.statedSize) {
        return "the kit is " + CountOf(check.statedSize - check.fileSize, "byte", "bytes") +
               " shorter than its header says (an incomplete download?)";
      }
      return "the kit is " + CountOf(check.fileSize - check.statedSize, "byte", "bytes") +
             " longer than its header says";
    case ArchiveFault::kChecksum: return "its checksum does not match";
    case ArchiveFault::kSizesDisagree:
      return "entry " + std::to_string(check.entry + 1) + " of " + std::to_string(check.count) +
             " gives two different sizes";
    case ArchiveFault::kDataMismatch: {
      std::uint64_t table = static_cast<std::uint64_t>(check.count) * kEntrySize;
      if (static_cast<std::uint64_t>(check.offset) + kHeaderSize + table > check.fileSize) {
        return "its table of " + CountOf(check.count, "entry", "entries") + " runs past its end";
      }
      if (check.unfilled > 0) {
        return "its entries do not fill its data (" + CountOf(check.unfilled, "byte is", "bytes are") +
               " left over)";
      }
      return "its entries claim more data than it holds";
    }
  }
  return "";
}

std::string DescribeCause(const MessageCause& cause) {
  if (cause.archive != nullptr) return DescribeArchiveFault(*cause.archive);
  if (cause.hostError != 0) return platform::posix::HostErrorText(cause.hostError);
  return "";
}

}  // namespace kivo::console
