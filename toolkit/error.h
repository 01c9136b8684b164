// The toolkit's error vocabulary: numbered error codes and the one global error
// object in which a failing toolkit operation records its reason. Nothing here
// shows a message; callers decide what to do with a failure.
#pragma once

#include <cstdint>

// Codes are signed 32-bit; the text of code n is entry n of the message table.
// Handler (-1) means a picture format handler failed; its own code is kept in
// ErrorState::handlerCode.
enum class ErrorCode : int32_t {
    Handler = -1,
    None = 0,
    NotImplemented = 1,
    Undefined = 2,
    OpenFailed = 3,
    EndOfFile = 4,
    ReadFailed = 5,
    WriteFailed = 6,
    SeekFailed = 7,
    TellFailed = 8,
    ReadOnly = 9,
    DeleteFailed = 10,
    PathNotFound = 11,
    RenameFailed = 12,
    OutOfMemory = 13,
    MemoryEntryNotFound = 14,
    GuardDamaged = 15,
    SoundStartFailed = 16,
    SoundFormat = 17,
    AudioDeviceBusy = 18,
    NotWave = 19,
    SampleNotFound = 20,
    InvalidChannel = 21,
    SoundPlayFailed = 22,
    PictureFormat = 23,
};

// Number of entries of the message table (codes 0 to 23).
constexpr int32_t errorTextCount = 24;

// Interface of an error object: one text query.
class ErrorObject {
public:
    virtual ~ErrorObject() = default;
    // Writes the current code into codeOut when given; returns the message text
    // of the current code.
    virtual const char* GetErrorText(int32_t* codeOut) const = 0;
};

// The process-wide error record. Last writer wins; success never clears it.
class ErrorState : public ErrorObject {
public:
    int32_t code = 0;        // the last recorded ErrorCode
    uint32_t extra = 0;      // value recorded with the code (0 throughout this system)
    int32_t handlerCode = 0; // a picture format handler's own code, when code is -1

    // Text of the current code from the message table; "Unknow error code!" for
    // a code outside the table (including -1, whose meaning lies in handlerCode).
    const char* GetErrorText(int32_t* codeOut) const override;
};

extern ErrorState errorState;

// Records code and extra and returns result unchanged, so that a failing
// operation can end with `return SetError(ErrorCode::X);`.
bool SetError(ErrorCode code, bool result = false, uint32_t extra = 0);

// Records code -1 with a picture format handler's own code; returns result.
bool SetHandlerError(int32_t handlerCode, bool result = false);

// The last recorded code.
inline ErrorCode LastError() {
    return static_cast<ErrorCode>(errorState.code);
}

// The message table's text for a code, or "Unknow error code!" outside 0 to 23.
const char* ErrorText(int32_t code);
