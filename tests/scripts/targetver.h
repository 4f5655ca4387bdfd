#pragma once

// Including SDKDDKVer.h defines the highest available Windows platform;
// this stand-in for visual-studio-resources.rc defines nothing.
