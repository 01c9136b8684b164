#include "toolkit/error.h"

ErrorState errorState;

namespace {

const char* const errorTexts[errorTextCount] = {
    "No error",
    "Function not implemented yet!",
    "Undefined error",
    "Unable to open file",
    "End of file reached",
    "Read error",
    "Write error",
    "Seek error",
    "Unable to get the position in the file",
    "File is read only",
    "Unable to delete file",
    "File or path not found",
    "Unable to rename file/dir",
    "Out of memory",
    "Memory entry not found",
    "The overflow bytes have been changed!",
    "Unable to start the sound system",
    "Specified output format not supported",
    "Audio device is already in use",
    "Not a wave file",
    "Unable to find the specified sample name",
    "Invalid channel",
    "Unable to play the sound(s)!",
    "Unknown/unsupported picture format",
};

const char* const unknownCodeText = "Unknow error code!";

} // namespace

const char* ErrorText(int32_t code) {
    if (code < 0 || code >= errorTextCount)
        return unknownCodeText;
    return errorTexts[code];
}

const char* ErrorState::GetErrorText(int32_t* codeOut) const {
    if (codeOut)
        *codeOut = code;
    return ErrorText(code);
}

bool SetError(ErrorCode code, bool result, uint32_t extra) {
    errorState.code = static_cast<int32_t>(code);
    errorState.extra = extra;
    return result;
}

bool SetHandlerError(int32_t handlerCode, bool result) {
    errorState.code = static_cast<int32_t>(ErrorCode::Handler);
    errorState.handlerCode = handlerCode;
    return result;
}
