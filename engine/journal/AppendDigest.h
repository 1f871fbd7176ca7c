#pragma once
// The digest of the bytes a run appended to one period file (XXH3-128), made the same way where
// the journal records it and where undo checks the file against it.

#include <memory>
#include <string_view>

#include "engine/journal/JournalFormat.h"

namespace trevo::journal {

class AppendDigest {
  public:
    AppendDigest();
    AppendDigest(AppendDigest&&) noexcept;
    AppendDigest& operator=(AppendDigest&&) noexcept;
    ~AppendDigest();

    // False when the running state could not be made (no memory): nothing may rest on it.
    bool Ready() const { return state_ != nullptr; }
    void Add(std::string_view bytes);
    Digest Value() const;

  private:
    // xxHash's state behind a name of our own: the Windows build uses it header-only, which
    // renames its types.
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace trevo::journal
