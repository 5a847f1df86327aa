// The one door to <windows.h>: only _win32.cpp files include this.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "error_codes.h"

// The portable table of error codes is the system's own.
static_assert(Windows::Error_Success == ERROR_SUCCESS);
static_assert(Windows::Error_File_Not_Found == ERROR_FILE_NOT_FOUND);
static_assert(Windows::Error_Path_Not_Found == ERROR_PATH_NOT_FOUND);
static_assert(Windows::Error_Access_Denied == ERROR_ACCESS_DENIED);
static_assert(Windows::Error_Broken_Pipe == ERROR_BROKEN_PIPE);
static_assert(Windows::Error_Invalid_Name == ERROR_INVALID_NAME);
static_assert(Windows::Error_Bad_Pipe == ERROR_BAD_PIPE);
static_assert(Windows::Error_Pipe_Busy == ERROR_PIPE_BUSY);
static_assert(Windows::Error_No_Data == ERROR_NO_DATA);
static_assert(Windows::Error_Pipe_Not_Connected == ERROR_PIPE_NOT_CONNECTED);
static_assert(Windows::Error_More_Data == ERROR_MORE_DATA);
