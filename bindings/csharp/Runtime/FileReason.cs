// Why a script file could not be opened, in the system's words. The library
// says only that it could not open the file; the caller wants to know which
// file and why.
using System;
using System.IO;
using System.Runtime.InteropServices;

namespace Murmex
{
    internal static class FileReason
    {
        private const int ReadAccess = 4; // R_OK

        // Mono maps "libc" to the C library on every Unix.
        [DllImport("libc", EntryPoint = "access", SetLastError = true)]
        private static extern int Access(byte[] path, int mode);

        [DllImport("libc", EntryPoint = "strerror")]
        private static extern IntPtr ErrorText(int number);

        // Nothing here opens the file: a FIFO would block the opener.
        internal static string Of(string path)
        {
            if (Directory.Exists(path))
            {
                return "it is a folder";
            }
            if (Environment.OSVersion.Platform == PlatformID.Unix)
            {
                try
                {
                    if (Access(Native.Terminated(path, "path"), ReadAccess) == 0)
                    {
                        return "it is not a regular file";
                    }
                    return Native.CopyText(ErrorText(Marshal.GetLastWin32Error()));
                }
                catch (DllNotFoundException)
                {
                }
                catch (EntryPointNotFoundException)
                {
                }
            }
            // Without the C library's words, the runtime's.
            try
            {
                File.GetAttributes(path);
                return "it is not a regular file, or it cannot be read";
            }
            catch (Exception failure)
            {
                return failure.Message;
            }
        }
    }
}
