// The exceptions the binding throws, and the one place that turns the
// library's status codes into them.
using System;

namespace Murmex
{
    // A call the library refused, a game that failed or a script that did not
    // load: every failure the library reports is one of these. Code is the
    // library's negative status (a load's: the loader's own, -1 to -5);
    // Message is never empty, the game's own words when it has any.
    public class MurmexException : Exception
    {
        public int Code { get; private set; }
        // A load: the 1-based line the loader had reached; otherwise 0.
        public int Line { get; private set; }
        // A load: the cause in plain words; otherwise empty.
        public string Detail { get; private set; }

        public MurmexException(int code, string message) : this(code, message, 0, "")
        {
        }

        internal MurmexException(int code, string message, int line, string detail)
            : base(string.IsNullOrEmpty(message) ? Status.Words(code) : message)
        {
            Code = code;
            Line = line;
            Detail = detail ?? "";
        }
    }

    // A script that did not load, with the loader's record of why. Message is
    // the fixed text the player's box shows, or the detail when the loader
    // gave none; a file that cannot be opened is named, with the system's reason.
    public sealed class LoadException : MurmexException
    {
        // The library's detail names a file it could not open, and why.
        internal LoadException(Native.LoadError error)
            : this(error.Code, error.Line, Native.FieldText(error.Message), Native.FieldText(error.Detail))
        {
        }

        private LoadException(int code, int line, string message, string detail)
            : base(code, message.Length > 0 ? message : detail, line, detail)
        {
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
