// The exceptions the binding throws, and the one place that turns the
// library's status codes into them.
using System;

namespace Murmex
{
    // A call the library refused or a game that failed. Code is the library's
    // negative status; Message is the game's own words when it has any.
    public class MurmexException : Exception
    {
        public int Code { get; private set; }

        public MurmexException(int code, string message) : base(message)
        {
            Code = code;
        }
    }

    // A script that did not load, with the loader's record of why: Code is the
    // loader's own negative code (-1 to -5), Line the 1-based line it had
    // reached, Message the fixed text the player's box shows (the detail when
    // the loader gave none) and Detail the cause in plain words.
    public sealed class LoadException : MurmexException
    {
        public int Line { get; private set; }
        public string Detail { get; private set; }

        internal LoadException(Native.LoadError error)
            : base(error.Code, Describe(error))
        {
            Line = error.Line;
            Detail = Native.FieldText(error.Detail);
        }

        private static string Describe(Native.LoadError error)
        {
            string message = Native.FieldText(error.Message);
            return message.Length > 0 ? message : Native.FieldText(error.Detail);
        }
    }

    internal static class Status
    {
        internal static string Words(int code)
        {
            return Native.CopyText(Native.murmex_status_message(code));
        }

        // Throws for a negative status and hands anything else back. The game,
        // when there is one, words the failure better than the bare code.
        internal static int Check(int code, Game game = null)
        {
            if (code >= 0)
            {
                return code;
            }
            // A game a listener disposed during the call has no words left.
            string words = game != null && !game.IsDisposed ? game.LastError : "";
            if (words.Length == 0)
            {
                words = Words(code);
            }
            switch (code)
            {
                case Native.ErrorNull:
                    throw new ArgumentNullException(null, words);
                case Native.ErrorRange:
                    throw new ArgumentOutOfRangeException(null, words);
                case Native.ErrorMemory:
                    throw new OutOfMemoryException(words);
                case Native.ErrorBusy:
                    throw new InvalidOperationException(words);
                default:
                    throw new MurmexException(code, words);
            }
        }
    }
}
