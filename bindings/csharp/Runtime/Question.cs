// One offered question, copied out of the game so it outlives the next step.
namespace Murmex
{
    public sealed class Question
    {
        // What the window shows: UTF-8 with the '&' markers taken out.
        public string Label { get; private set; }
        // Decoded, the markers kept.
        public string Text { get; private set; }
        // As the script holds it, markers included.
        public byte[] Bytes { get; private set; }
        // The marked character as a code point, or 0 when nothing is marked.
        // A code point rather than a char, as it may lie beyond the 16-bit range.
        public int Mnemonic { get; private set; }

        /// <summary>
        /// The question's line id, as the translation export names it
        /// ("Mara/S1/2/Q"): the one key for its translation and its recorded voice.
        /// </summary>
        public string LineId { get; private set; }

        internal Question(string label, string text, byte[] bytes, int mnemonic, string lineId)
        {
            Label = label;
            Text = text;
            Bytes = bytes;
            Mnemonic = mnemonic;
            LineId = lineId;
        }

        public override string ToString()
        {
            return Label;
        }
    }
}
