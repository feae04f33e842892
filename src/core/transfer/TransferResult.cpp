#include "core/transfer/TransferResult.h"

namespace rz::transfer {

std::string_view transferResultName(TransferResult result)
{
    switch (result) {
    case TransferResult::Succeeded: return "succeeded";
    case TransferResult::NotConnected: return "not-connected";
    case TransferResult::Busy: return "busy";
    case TransferResult::FileMissing: return "file-missing";
    case TransferResult::FileRefused: return "file-refused";
    case TransferResult::NoAnswer: return "no-answer";
    case TransferResult::Failed: return "failed";
    case TransferResult::NotWritten: return "not-written";
    case TransferResult::Cancelled: return "cancelled";
    }
    return "failed";
}

} // namespace rz::transfer
