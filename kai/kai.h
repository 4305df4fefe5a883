#ifndef KAI_H
#define KAI_H

// The image+audio library: one picture and one sound kept together in a ".kia" file.
//
// Layout of a ".kia" file, every number little-endian:
//   offset  0  8 bytes  magic "\x89KIA\r\n\x1a\n" (the first byte and the line ends show a
//                       file damaged by a text-mode copy)
//   offset  8  uint32   version, 1
//   offset 12  uint32   picture length P
//   offset 16  uint32   sound length S
//   offset 20  P bytes  picture, then S bytes sound; the file ends right after them.
//
// Users load the library at run time and resolve "write", "readImageData" and "readAudioData"
// from its handle (never from the global scope, where "write" is write(2)), so this header
// gives only the types of the three entry points.

#ifdef __cplusplus
extern "C" {
#endif

// Writes the file (through a ".part" file renamed over the name, so a failure never leaves
// half a file under the name). 0 on success, -1 on any error: null name, a negative size, a
// null pointer with a positive size, or a file that cannot be written.
typedef int (*KaiWriteFunction)(
    const char *fileName, const char *picture, int pictureSize, const char *sound, int soundSize);
// Read one part of a file. Every length is checked against the file's size: on any error the
// result is null and *size is 0. Only a regular file is read; a FIFO or a device is refused
// without waiting for it. The bytes belong to the library and stay valid until the next call
// of the same function on the same thread; the caller copies them, then calls the function
// with a null name to release them.
typedef const char *(*KaiReadFunction)(const char *fileName, int *size);

#ifdef __cplusplus
}
#endif

#endif // KAI_H
