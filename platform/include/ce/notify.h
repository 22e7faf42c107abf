// Timed notifications of the device.
#pragma once

#include "ce/types.h"

// The prefix of an application name that asks for a named event to be signalled
// instead of a program to be started.
#define NAMED_EVENT_PREFIX_TEXT u"\\\\.\\Notifications\\NamedEvents\\"

// Registers a wake-up at the local time `time` for `appName`; a second call with the
// same name replaces the first, and a null `time` removes it. With the name
// "\\.\Notifications\NamedEvents\<event>" the named event <event> is signalled when the
// device clock reaches the time (at once when the time has passed). Starting a program
// at a time is not supported yet (ERROR_NOT_SUPPORTED).
CE_API BOOL CeRunAppAtTime(LPCWSTR appName, const SYSTEMTIME* time);
