#pragma once
// The host size a splitter drag gives, without windows.
namespace velkor {

// Where the host stands against its parent's edge; the splitter lies on the
// host's other side.
enum class SplitSide { Top, Bottom, Left, Right };

// bar: where the bar was let go, measured from the host's outer top-left
// corner along the drag (y for top and bottom, x otherwise). A top or left
// host ends at the bar; a bottom or right host begins there. room: the
// largest size that still leaves the rest of the window showing. Never below
// 0 nor above room.
int SplitHostSize(SplitSide side, int bar, int host_size, int room);

}  // namespace velkor
