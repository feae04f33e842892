#pragma once
// How a file transfer or a firmware upgrade ended. The log box tells the user the same story
// in words; callers branch on this instead of reading the log or a flag.
#include <string_view>

namespace rz::transfer {

enum class TransferResult {
    Succeeded,
    NotConnected, // the link is not connected: nothing was sent
    Busy,         // another operation of the same object is running: nothing was sent
    FileMissing,  // the file to send is missing, empty or unreadable
    FileRefused,  // the file to send is not acceptable (firmware identity or size)
    NoAnswer,     // the controller stopped answering (handshake failed, replies missing)
    Failed,       // the controller answered but refused: verification failed, data missing or wrong
    NotWritten,   // an upload arrived whole but its target file could not be written
    Cancelled,    // stopped by the user or by the program closing
};

// A stable lower-case name for machine-readable output ("succeeded", "no-answer", ...).
std::string_view transferResultName(TransferResult result);

} // namespace rz::transfer
