// A line the next choices can show, as Game.Lookahead lists it.
namespace Murmex
{
    /// <summary>Which text of a talk unit a line is.</summary>
    public enum LinePart
    {
        /// <summary>The question the player can ask.</summary>
        Question = 0,
        /// <summary>The answer that asking it shows.</summary>
        Answer = 1,
    }

    /// <summary>
    /// One text a coming choice can show, copied out, so it never changes.
    /// </summary>
    public sealed class Line
    {
        /// <summary>
        /// The line's id, as the translation export names it ("Mara/S1/2/Q"):
        /// the one key for the line's translation and its recorded voice, so a
        /// game can load both before the line is shown.
        /// </summary>
        public string Id { get; }

        /// <summary>The text as the window shows it: UTF-8, without the '&amp;' markers.</summary>
        public string Text { get; }

        public LinePart Part { get; }

        /// <summary>The fewest choices from now that can show the line, from 1.</summary>
        public int Depth { get; }

        internal Line(string id, string text, LinePart part, int depth)
        {
            Id = id;
            Text = text;
            Part = part;
            Depth = depth;
        }

        public override string ToString()
        {
            return Id;
        }
    }
}
