// SPDX-License-Identifier: MIT
// The PNG decoder (Debian's stb_image, PNG only, from memory): the picture
// is decoded in the program, without the imaging component and the COM
// start-up that it needs.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#include <stb/stb_image.h>
