// A game's named variables as a small dictionary. Names are bytes to the
// library: a string name goes over as its UTF-8, and the names a walk finds
// come back read as UTF-8 (byte names are there for scripts in another encoding).
using System;
using System.Collections;
using System.Collections.Generic;
using System.Text;

namespace Murmex
{
    /// <summary>
    /// A game's variables. A game holds at most 500 of them: setting one more
    /// throws MurmexException with code -9. A name is at most 19 bytes:
    /// setting a longer one throws MurmexException with code -13, and a lookup
    /// with a longer one finds the variable of its first 19 bytes.
    /// </summary>
    public sealed class Variables : IEnumerable<KeyValuePair<string, int>>
    {
        private readonly Game game;

        internal Variables(Game game)
        {
            this.game = game;
        }

        /// <summary>
        /// Reading a missing variable throws KeyNotFoundException; setting one
        /// creates it, unless the game holds 500 already (MurmexException,
        /// code -9) or the name is over 19 bytes (MurmexException, code -13).
        /// </summary>
        public int this[string name]
        {
            get { return this[Encode(name)]; }
            set { this[Encode(name)] = value; }
        }

        public int this[byte[] name]
        {
            get
            {
                int value;
                if (!TryGetValue(name, out value))
                {
                    throw new KeyNotFoundException("no variable " + Encoding.UTF8.GetString(name));
                }
                return value;
            }
            set { game.Call(Native.murmex_game_set_variable(game.Handle, Terminated(name), value)); }
        }

        public bool TryGetValue(string name, out int value)
        {
            return TryGetValue(Encode(name), out value);
        }

        public bool TryGetValue(byte[] name, out int value)
        {
            int code = Native.murmex_game_variable(game.Handle, Terminated(name), out value);
            if (code == Native.ErrorNotFound)
            {
                return false;
            }
            Status.Check(code, game);
            return true;
        }

        public bool ContainsKey(string name)
        {
            int value;
            return TryGetValue(name, out value);
        }

        // False when there was no such variable.
        public bool Remove(string name)
        {
            return Remove(Encode(name));
        }

        public bool Remove(byte[] name)
        {
            int code = Native.murmex_game_remove_variable(game.Handle, Terminated(name));
            if (code == Native.ErrorNotFound)
            {
                return false;
            }
            game.Call(code);
            return true;
        }

        // Every variable with its name as the script holds it.
        public IEnumerable<KeyValuePair<byte[], int>> ByBytes()
        {
            return Snapshot();
        }

        // A copy taken up front: the library's names are borrowed only until
        // the game changes, which a caller may do while iterating.
        public IEnumerator<KeyValuePair<string, int>> GetEnumerator()
        {
            foreach (KeyValuePair<byte[], int> entry in Snapshot())
            {
                yield return new KeyValuePair<string, int>(Encoding.UTF8.GetString(entry.Key), entry.Value);
            }
        }

        IEnumerator IEnumerable.GetEnumerator()
        {
            return GetEnumerator();
        }

        private List<KeyValuePair<byte[], int>> Snapshot()
        {
            var entries = new List<KeyValuePair<byte[], int>>();
            int cursor = 0;
            while (true)
            {
                IntPtr name;
                int value;
                int code = Status.Check(Native.murmex_game_next_variable(game.Handle, ref cursor, out name, out value),
                                        game);
                if (code == Native.End)
                {
                    return entries;
                }
                entries.Add(new KeyValuePair<byte[], int>(Native.CopyBytes(name), value));
            }
        }

        private static byte[] Encode(string name)
        {
            if (name == null)
            {
                throw new ArgumentNullException("name");
            }
            return Encoding.UTF8.GetBytes(name);
        }

        private static byte[] Terminated(byte[] name)
        {
            if (name == null)
            {
                throw new ArgumentNullException("name");
            }
            return Native.Terminated(name, "name");
        }
    }
}
