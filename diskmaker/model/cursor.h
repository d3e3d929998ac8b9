// A small forward cursor over an ordered container: the container and the
// index of the next element.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace wendmark {

template <typename Container>
class ForwardCursor {
 public:
  using Element = std::remove_reference_t<decltype(*std::declval<Container&>().begin())>;

  explicit ForwardCursor(Container& items) : items_(items) {}

  // The next element, advancing past it; null at the end.
  Element* Next() {
    if (next_ >= items_.size()) return nullptr;
    return &items_[next_++];
  }

  std::size_t position() const { return next_; }

 private:
  Container& items_;
  std::size_t next_ = 0;
};

template <typename Container>
ForwardCursor<Container> MakeCursor(Container& items) {
  return ForwardCursor<Container>(items);
}

}  // namespace wendmark
