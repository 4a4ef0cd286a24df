// A loaded script: read-only, shared by any number of games.
using System;
using System.Collections.Generic;

namespace Murmex
{
    public struct Color
    {
        public readonly byte Red;
        public readonly byte Green;
        public readonly byte Blue;

        public Color(byte red, byte green, byte blue)
        {
            Red = red;
            Green = green;
            Blue = blue;
        }

        public override string ToString()
        {
            return "(" + Red + ", " + Green + ", " + Blue + ")";
        }
    }

    // The header's two colours: the window's and its texts'.
    public struct Colors
    {
        public readonly Color Window;
        public readonly Color Text;

        public Colors(Color window, Color text)
        {
            Window = window;
            Text = text;
        }
    }

    public sealed class Script : IDisposable
    {
        internal readonly ScriptHandle Handle;

        private Script(ScriptHandle handle)
        {
            Handle = handle;
        }

        // Loads a script file; plain for a file that is not scrambled (a named
        // argument, as in Load(path, plain: true)). A script that does not load
        // throws LoadException, a MurmexException with the line and the detail.
        public static Script Load(string path, bool plain = false)
        {
            if (path == null)
            {
                throw new ArgumentNullException("path");
            }
            Native.LoadError error = NewLoadError();
            ScriptHandle handle;
            int code = Native.murmex_script_load(Native.Terminated(path, "path"), Flags(plain), out handle, ref error);
            return Loaded(code, handle, error);
        }

        // The same for a script in memory; the bytes are read during the call only.
        public static Script FromBytes(byte[] data, bool plain = false)
        {
            if (data == null)
            {
                throw new ArgumentNullException("data");
            }
            Native.LoadError error = NewLoadError();
            ScriptHandle handle;
            int code = Native.murmex_script_from_bytes(data, (UIntPtr)data.Length, Flags(plain), out handle,
                                                       ref error);
            return Loaded(code, handle, error);
        }

        // The window's caption, decoded to a string.
        public string Title
        {
            get { return Native.CopyText(TitleIn(Native.FormText)); }
        }

        // The caption as the script holds it.
        public byte[] TitleBytes
        {
            get { return Native.CopyBytes(TitleIn(Native.FormBytes)); }
        }

        public Colors Colors
        {
            get
            {
                Native.NativeColor window, text;
                Status.Check(Native.murmex_script_colors(Handle, out window, out text));
                return new Colors(new Color(window.Red, window.Green, window.Blue),
                                  new Color(text.Red, text.Green, text.Blue));
            }
        }

        // The characters' names in script order, decoded.
        public IReadOnlyList<string> Characters
        {
            get
            {
                int count;
                Status.Check(Native.murmex_script_character_count(Handle, out count));
                var names = new string[count];
                for (int i = 0; i < count; i++)
                {
                    names[i] = Native.CopyText(CharacterName(i, Native.FormText));
                }
                return names;
            }
        }

        // One character's name as the script holds it (0-based index).
        public byte[] CharacterBytes(int index)
        {
            return Native.CopyBytes(CharacterName(index, Native.FormBytes));
        }

        public Game NewGame()
        {
            GameHandle handle;
            Status.Check(Native.murmex_game_new(Handle, out handle));
            // The game reads its lines through this handle, so it holds it
            // open after this Script is disposed of.
            bool held = false;
            try
            {
                Handle.DangerousAddRef(ref held);
            }
            finally
            {
                if (!held)
                {
                    handle.Dispose();
                }
            }
            return new Game(handle, Handle);
        }

        // Gives up this hold on the script; games made from it keep playing,
        // and the script's handle goes with the last of them.
        public void Dispose()
        {
            Handle.Dispose();
        }

        private IntPtr TitleIn(int form)
        {
            IntPtr text;
            Status.Check(Native.murmex_script_title(Handle, form, out text));
            return text;
        }

        private IntPtr CharacterName(int index, int form)
        {
            IntPtr text;
            Status.Check(Native.murmex_script_character_name(Handle, index, form, out text));
            return text;
        }

        private static int Flags(bool plain)
        {
            return plain ? Native.LoadPlain : 0;
        }

        // The record's arrays exist before the call, so the marshaller has
        // room to copy the texts back into.
        private static Native.LoadError NewLoadError()
        {
            return new Native.LoadError { Message = new byte[64], Detail = new byte[200] };
        }

        private static Script Loaded(int code, ScriptHandle handle, Native.LoadError error)
        {
            if (code == Native.ErrorLoad)
            {
                if (handle != null) handle.Dispose();
                throw new LoadException(error);
            }
            if (code < 0)
            {
                if (handle != null) handle.Dispose();
                Status.Check(code);
            }
            return new Script(handle);
        }
    }
}
