#include "fs/failure.h"

#include <string>

namespace kw::fs
{
namespace
{

// The category's own messages are for logs and tests; what a user reads is made from the
// code by the texts of the front ends.
class FailureCategory final : public std::error_category
{
public:
    const char *name() const noexcept override { return "kopienwacht"; }
    std::string message(int value) const override
    {
        switch (static_cast<Failure>(value)) {
        case Failure::LineBreakInName:
            return "name holds a line break";
        case Failure::EndOfTextInName:
            return "name holds an end-of-text character";
        case Failure::KernelFileSystem:
            return "kernel file system";
        case Failure::ChangedDuringSearch:
            return "changed during the search";
        case Failure::NotARegularFile:
            return "not a regular file";
        case Failure::NotTheSearchedFile:
            return "not the file that was searched";
        case Failure::TopFolderChanged:
            return "top folder is not the one searched";
        case Failure::NoKeptCopy:
            return "no copy is kept";
        case Failure::KeptCopyDiffers:
            return "the kept copy differs";
        case Failure::SameEntryAsKeptCopy:
            return "the kept copy is the same file";
        case Failure::NoUsableTrash:
            return "no usable trash";
        case Failure::UnsafeTrash:
            return "unsafe trash folder";
        case Failure::ShortWrite:
            return "short write";
        case Failure::SameFileUnderOtherName:
            return "the kept copy is the same file under another name";
        case Failure::StrandedInTrash:
            return "could not be put back from the trash";
        case Failure::CannotShareBlocks:
            return "the file system cannot share blocks";
        case Failure::ContentsDiffer:
            return "the contents differ";
        case Failure::OtherVolume:
            return "the files lie on different volumes";
        }
        return "unknown failure";
    }
};

} // namespace

const std::error_category &failureCategory()
{
    static const FailureCategory category;
    return category;
}

} // namespace kw::fs
