#include "runtime/values/system_errors.h"

#include <cerrno>

#include "platform/error_log.h"
#include "runtime/runtime.h"
#include "runtime/values/error.h"

namespace kestran {

namespace {

struct CodeNumber {
    uint32_t code;
    int number;
};

constexpr CodeNumber kCodeTable[] = {
    {1, 5},    {2, 63},   {3, 63},   {4, 66},   {5, 75},   {8, 7},    {11, 71}, {12, 75},  {15, 72},
    {16, 72},  {17, 72},  {18, 67},  {19, 73},  {20, 60},  {21, 72},  {26, 71}, {27, 71},  {28, 60},
    {29, 67},  {30, 54},  {32, 75},  {33, 75},  {34, 60},  {50, 28},  {80, 64}, {87, 5},   {108, 59},
    {110, 63}, {111, 61}, {112, 67}, {113, 66}, {123, 55}, {183, 64}, {65, 55}, {267, 55},
};

// Windows system error codes by name, as the table above lists them.
enum : uint32_t {
    kInvalidFunction = 1,
    kFileNotFound = 2,
    kPathNotFound = 3,
    kTooManyOpenFiles = 4,
    kAccessDenied = 5,
    kNotEnoughMemory = 8,
    kInvalidDrive = 15,
    kNotSameDevice = 17,
    kWriteProtect = 19,
    kNotReady = 21,
    kWriteFault = 29,
    kReadFault = 30,
    kSharingViolation = 32,
    kLockViolation = 33,
    kNotSupported = 50,
    kFileExists = 80,
    kInvalidParameter = 87,
    kBufferOverflow = 111,  // "the file name is too long"
    kDiskFull = 112,
    kInvalidName = 123,
    kDirectory = 267,
    kIoDevice = 1117,
    kInternalError = 1359,
};

}  // namespace

uint32_t SystemCodeFromErrno(int errnoValue, IoDirection direction) {
    switch (errnoValue) {
        case ENOENT:
            return kFileNotFound;
        case ENOTDIR:
            return kPathNotFound;
        case EPERM:
        case EACCES:
        case EISDIR:
        case ELOOP:  // a symlink where a plain file must be
            return kAccessDenied;
        case EROFS:
            return kWriteProtect;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return kDiskFull;
        case EMFILE:
        case ENFILE:
            return kTooManyOpenFiles;
        case ENOMEM:
            return kNotEnoughMemory;
        case EEXIST:
            return kFileExists;
        case EINVAL:
            return kInvalidParameter;
        case EILSEQ:
            return kInvalidName;
        case ENAMETOOLONG:
            return kBufferOverflow;
        case EBUSY:
        case ETXTBSY:
            return kSharingViolation;
        case EAGAIN:
            return kLockViolation;
        case EXDEV:
            return kNotSameDevice;
        case ENODEV:
            return kInvalidDrive;
        case ENXIO:
            return kNotReady;
        case ENOTSUP:
            return kNotSupported;
        case EIO:
            return direction == IoDirection::Reading   ? kReadFault
                   : direction == IoDirection::Writing ? kWriteFault
                                                       : kIoDevice;
        default:
            return kInternalError;
    }
}

int ErrorNumberFromSystemCode(uint32_t systemCode) {
    for (const auto& entry : kCodeTable)
        if (entry.code == systemCode) return entry.number;
    return 27;
}

int PbSystemErrorNumber(Runtime& rt, int errnoValue, IoDirection direction) {
    uint32_t code = SystemCodeFromErrno(errnoValue, direction);
    if (rt.platform.errorLog) rt.platform.errorLog->WriteApiError(code);
    return ErrorNumberFromSystemCode(code);
}

void PbRaiseSystemError(Runtime& rt, int errnoValue, IoDirection direction, uint32_t site, std::source_location where) {
    PbRaiseError(PbSystemErrorNumber(rt, errnoValue, direction), site, where);
}

}  // namespace kestran
