#include "engine/journal/AppendDigest.h"

#include <new>

#define XXH_STATIC_LINKING_ONLY  // XXH3_state_t whole, held in State
#include <xxhash.h>

namespace trevo::journal {

struct AppendDigest::State {
    XXH3_state_t xxh;
};

AppendDigest::AppendDigest() : state_(new (std::nothrow) State) {
    if (state_ && XXH3_128bits_reset(&state_->xxh) != XXH_OK) {
        state_.reset();
    }
}

AppendDigest::AppendDigest(AppendDigest&&) noexcept = default;
AppendDigest& AppendDigest::operator=(AppendDigest&&) noexcept = default;
AppendDigest::~AppendDigest() = default;

void AppendDigest::Add(std::string_view bytes) {
    XXH3_128bits_update(&state_->xxh, bytes.data(), bytes.size());
}

Digest AppendDigest::Value() const {
    const XXH128_hash_t digest = XXH3_128bits_digest(&state_->xxh);
    return {digest.low64, digest.high64};
}

}  // namespace trevo::journal
