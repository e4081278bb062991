#pragma once

// The program's pictures and the bank's schema are compiled into the static library; its
// resources must be registered once before first use.
void EnsureResources();
