// The engine's C functions as the runtime sees them, and the few helpers that
// move texts and bytes across. Nothing here is public: the classes beside it
// are the binding's surface.
using System;
using System.Runtime.InteropServices;
using System.Text;

namespace Murmex
{
    internal static class Native
    {
        // Mono maps this to libmurmex.so, Windows to murmex.dll; Unity finds it
        // in Plugins/.
        private const string Library = "murmex";

        internal const int Ok = 0;
        internal const int End = 1;
        internal const int ErrorNull = -1;
        internal const int ErrorRange = -2;
        internal const int ErrorLoad = -3;
        internal const int ErrorMemory = -4;
        internal const int ErrorBuffer = -5;
        internal const int ErrorNotFound = -6;
        internal const int ErrorFailed = -7;
        internal const int ErrorNoConversation = -8;
        internal const int ErrorMemoryFull = -9;
        internal const int ErrorSavedGame = -10;
        internal const int ErrorBusy = -11;
        internal const int ErrorFlags = -12;
        internal const int ErrorNameTooLong = -13;

        internal const int FormBytes = 0;
        internal const int FormText = 1;

        internal const int LoadPlain = 1;

        // Room that always holds a line id and its terminating zero.
        internal const int LineIdMaxBytes = 342;

        [StructLayout(LayoutKind.Sequential)]
        internal struct LoadError
        {
            public int Code;
            public int Line;
            // Fixed arrays so the record is filled in place, texts included.
            [MarshalAs(UnmanagedType.ByValArray, SizeConst = 64)]
            public byte[] Message;
            [MarshalAs(UnmanagedType.ByValArray, SizeConst = 200)]
            public byte[] Detail;
        }

        [StructLayout(LayoutKind.Sequential)]
        internal struct NativeColor
        {
            public byte Red;
            public byte Green;
            public byte Blue;
        }

        [StructLayout(LayoutKind.Sequential)]
        internal struct NativeQuestion
        {
            public IntPtr Bytes;
            public IntPtr Text;
            public IntPtr Label;
            public uint Mnemonic;
        }

        [StructLayout(LayoutKind.Sequential)]
        internal struct NativeEvent
        {
            public int Kind;
            public IntPtr Name;
            public IntPtr NameText;
            public int Value;
            public int Previous;
            public int Present;
            public IntPtr Answer;
            public IntPtr AnswerText;
        }

        // A line the next choices can show: where it stands in the script,
        // which part of its unit it is (a LinePart) and how many choices away.
        [StructLayout(LayoutKind.Sequential)]
        internal struct NativeLine
        {
            public int Character;
            public int Unit;
            public int Part;
            public int Depth;
        }

        [UnmanagedFunctionPointer(CallingConvention.Cdecl)]
        internal delegate void Listener(IntPtr userData, IntPtr gameEvent);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern IntPtr murmex_version();

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern IntPtr murmex_status_message(int code);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_script_load(byte[] path, int flags, out ScriptHandle script,
                                                      ref LoadError error);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_script_from_bytes(byte[] data, UIntPtr size, int flags,
                                                            out ScriptHandle script, ref LoadError error);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern void murmex_script_free(IntPtr script);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_script_title(ScriptHandle script, int form, out IntPtr text);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_script_colors(ScriptHandle script, out NativeColor window,
                                                        out NativeColor text);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_script_character_count(ScriptHandle script, out int count);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_script_character_name(ScriptHandle script, int index, int form,
                                                                out IntPtr text);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_new(ScriptHandle script, out GameHandle game);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern void murmex_game_free(IntPtr game);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_start(GameHandle game, byte[] name);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_reset(GameHandle game);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_answer(GameHandle game, int form, out IntPtr text);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_character(GameHandle game, int form, out IntPtr text);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_question_count(GameHandle game, out int count);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_question(GameHandle game, int index, out NativeQuestion question);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_choose(GameHandle game, int index);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_answer_line_id(GameHandle game, byte[] buffer, UIntPtr capacity,
                                                              out UIntPtr length);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_question_line_id(GameHandle game, int index, byte[] buffer,
                                                                UIntPtr capacity, out UIntPtr length);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_lookahead(GameHandle game, int depth, [In, Out] NativeLine[] lines,
                                                         UIntPtr capacity, out UIntPtr count);

        // The script goes over as a bare pointer: a game reads its lines
        // through the handle it holds, which the Script may have disposed of
        // already, and a disposed SafeHandle is refused by the marshaller.
        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_script_line_id(IntPtr script, ref NativeLine line, byte[] buffer,
                                                         UIntPtr capacity, out UIntPtr length);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_script_line_text(IntPtr script, ref NativeLine line, int form,
                                                           byte[] buffer, UIntPtr capacity, out UIntPtr length);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_variable(GameHandle game, byte[] name, out int value);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_set_variable(GameHandle game, byte[] name, int value);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_remove_variable(GameHandle game, byte[] name);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_next_variable(GameHandle game, ref int cursor, out IntPtr name,
                                                             out int value);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_money(GameHandle game, out int money);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_set_money(GameHandle game, int money);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_save(GameHandle game, byte[] buffer, UIntPtr capacity,
                                                    out UIntPtr written);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_restore(GameHandle game, byte[] data, UIntPtr size);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_restore_strict(GameHandle game, byte[] data, UIntPtr size);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_listen(GameHandle game, int kind, Listener listener,
                                                      IntPtr userData, out uint id);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_observe(GameHandle game, byte[] name, Listener listener,
                                                       IntPtr userData, out uint id);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int murmex_game_unlisten(GameHandle game, uint id);

        [DllImport(Library, CallingConvention = CallingConvention.Cdecl)]
        internal static extern IntPtr murmex_game_last_error(GameHandle game);

        // A zero-terminated copy for the C side. Names and paths go over as
        // UTF-8; the library compares names as bytes. It reads them up to the
        // first zero byte, so one holding a zero, which would name something
        // else, is refused; `what` names the argument.
        internal static byte[] Terminated(string text, string what)
        {
            return Terminated(Encoding.UTF8.GetBytes(text), what);
        }

        internal static byte[] Terminated(byte[] bytes, string what)
        {
            if (Array.IndexOf(bytes, (byte)0) >= 0)
            {
                throw new ArgumentException("a " + what + " cannot hold a zero byte", what);
            }
            var copy = new byte[bytes.Length + 1];
            Buffer.BlockCopy(bytes, 0, copy, 0, bytes.Length);
            return copy;
        }

        // The bytes of a borrowed zero-terminated text, copied out before the
        // library may reuse them. A null pointer reads as no text.
        internal static byte[] CopyBytes(IntPtr text)
        {
            if (text == IntPtr.Zero)
            {
                return new byte[0];
            }
            int length = 0;
            while (Marshal.ReadByte(text, length) != 0)
            {
                length++;
            }
            var bytes = new byte[length];
            Marshal.Copy(text, bytes, 0, length);
            return bytes;
        }

        // A text the library has already made UTF-8. Marshalled by hand because
        // not every runtime knows UnmanagedType.LPUTF8Str.
        internal static string CopyText(IntPtr text)
        {
            return Encoding.UTF8.GetString(CopyBytes(text));
        }

        // One of the calls that write a text into the caller's buffer and say
        // how long it is, or how long a buffer it needs.
        internal delegate int Writer(byte[] buffer, UIntPtr capacity, out UIntPtr length);

        // The text such a call writes, decoded from UTF-8. The first buffer
        // holds any line id; a longer text takes a second call.
        internal static string Written(Writer write, Game game = null)
        {
            var buffer = new byte[LineIdMaxBytes];
            UIntPtr length;
            int code = write(buffer, (UIntPtr)buffer.Length, out length);
            if (code == ErrorBuffer)
            {
                buffer = new byte[(int)length + 1];
                code = write(buffer, (UIntPtr)buffer.Length, out length);
            }
            Status.Check(code, game);
            return Encoding.UTF8.GetString(buffer, 0, (int)length);
        }

        // A fixed field of the load record, up to its terminating zero.
        internal static string FieldText(byte[] field)
        {
            if (field == null)
            {
                return "";
            }
            int length = Array.IndexOf(field, (byte)0);
            return Encoding.UTF8.GetString(field, 0, length < 0 ? field.Length : length);
        }
    }

    // A handle of the library's, released once, however often it is disposed.
    internal abstract class LibraryHandle : SafeHandle
    {
        protected LibraryHandle() : base(IntPtr.Zero, true)
        {
        }

        public override bool IsInvalid
        {
            get { return handle == IntPtr.Zero; }
        }
    }

    // The caller's hold on a loaded script; games hold their own.
    internal sealed class ScriptHandle : LibraryHandle
    {
        protected override bool ReleaseHandle()
        {
            Native.murmex_script_free(handle);
            return true;
        }
    }

    internal sealed class GameHandle : LibraryHandle
    {
        protected override bool ReleaseHandle()
        {
            Native.murmex_game_free(handle);
            return true;
        }
    }
}
