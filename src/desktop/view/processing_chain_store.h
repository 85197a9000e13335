#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <string>

namespace trelvanox {

// The view's processing chain of each radargram, kept in the user's state folder (beside the
// files' histories, never beside the radargram) so that a file opened again shows as it was
// left. One small file per radargram, named by a hash of the radargram's full path and holding
// the path and the chain's text (see ChainText).
class TProcessingChainStore {
  public:
    // folder: where the chains are kept (created when the first is saved); empty keeps none.
    explicit TProcessingChainStore(std::filesystem::path folder);

    // The chain's text kept for the radargram at path, or nothing.
    std::optional<std::string> Load(const std::filesystem::path& radargram) const;
    // Keeps text as the radargram's chain, replacing the file atomically; false when it cannot
    // be written (the view goes on, the chain is then not kept).
    bool Save(const std::filesystem::path& radargram, const std::string& text) const;

  private:
    QString FileOf(const std::filesystem::path& radargram) const;

    std::filesystem::path folder_;
};

// The store's place: "view" in the user's state folder.
std::filesystem::path DefaultChainFolder();

}  // namespace trelvanox
