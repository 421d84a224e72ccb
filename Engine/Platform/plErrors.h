#pragma once
#include "Engine/Core/Env/envTypes.h"

// The Win32 error numbers that the registry, mutex and file stand-ins answer with.
namespace plErr {
constexpr u32 Success = 0;
constexpr u32 FileNotFound = 2;
constexpr u32 AccessDenied = 5;
constexpr u32 InvalidHandle = 6;
constexpr u32 WriteFault = 29;
constexpr u32 InvalidParameter = 87;
constexpr u32 AlreadyExists = 183;
constexpr u32 MoreData = 234;
} // namespace plErr
