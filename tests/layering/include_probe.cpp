// Built with the include path one library's own sources see, and one header of another library:
// it compiles only where that library may use the header.
#include PROBE_HEADER
