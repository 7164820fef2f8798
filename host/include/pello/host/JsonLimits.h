// JSON text read with its nesting bounded. nlohmann's parser does not
// recurse, but copying, comparing and printing a value do, and so do the
// readers of documents and sessions: a value nested as deep as a small file
// allows (5,000 groups fit in 214 KB) would overflow the stack there. Every
// file and request pello-host reads is parsed here instead, and refused at
// the first array or object nested deeper than the limit, before anything
// else touches the value.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pello::host {

// Arrays and objects inside one another, the outermost counted. Far beyond
// what a document, a session or a preferences file needs (groups nest at
// most kMaxGroupNesting deep, see DocumentJson.h), and far within the stack
// of the thread that reads it, even on Windows (1 MB) or in a sanitized build.
inline constexpr std::size_t kMaxJsonNesting = 256;

// A value nested too deep; what() names its place and the limit, e.g.
// "steps[0].art[0][0][0][0][0][0]...[0][0][0]: nested deeper than 256 levels of arrays and objects".
class JsonNestingError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Where a parser is in the text: the members and elements that lead to the
// value now read.
class JsonPlace {
public:
  // An array or object begins (an element of the one around it, if any).
  void enter(bool array);
  void leave();
  // A member's name, or a value that is not an array or object.
  void key(std::string name);
  void scalar();

  std::size_t depth() const { return levels_.size(); }
  // The path to the innermost array or object, as the readers name places
  // ("art[3].children[0]"); a long one keeps its first and last steps.
  std::string text() const;

private:
  struct Level {
    bool array = false;
    std::size_t elements = 0; // elements begun so far (arrays)
    std::string key;          // the member being read (objects)
  };
  std::vector<Level> levels_;
};

// A path as the readers write it from its steps, each a member name or an
// element index ("[3]"): "art[3].children[0]". A path of more than 40 steps
// keeps its first 8 and last 4: "art[0].children[0].children[0].children[0]...children[0].children[0]".
std::string joinedPath(const std::vector<std::string> &steps);

// The message of a value nested deeper than `limit`, found at `place`.
std::string nestingMessage(const JsonPlace &place, std::size_t limit);

// `text` parsed as J::parse does (a syntax error throws J::parse_error), but
// a value nested deeper than `limit` throws JsonNestingError as soon as the
// parser reaches it.
template <class J> J parseBoundedJson(std::string_view text, std::size_t limit = kMaxJsonNesting) {
  using Event = typename J::parse_event_t;
  JsonPlace place;
  typename J::parser_callback_t check = [&place, limit](int, Event event, J &parsed) {
    switch (event) {
    case Event::object_start:
    case Event::array_start:
      place.enter(event == Event::array_start);
      if (place.depth() > limit) throw JsonNestingError(nestingMessage(place, limit));
      break;
    case Event::object_end:
    case Event::array_end:
      place.leave();
      break;
    case Event::key:
      place.key(parsed.template get<std::string>());
      break;
    case Event::value:
      place.scalar();
      break;
    }
    return true;
  };
  return J::parse(text.begin(), text.end(), check);
}

} // namespace pello::host
