#pragma once

// Prints the text of every tool of the notification area's tooltips, one per line: the tooltips of
// the icons as the shell shows them, and the text of a balloon on show as "balloon <text>". Their
// windows belong to the taskbar's process, so the tool record and the text buffer are placed in that
// process. Returns 0, or 1 when there is no taskbar to read.
int PrintTrayTips();
