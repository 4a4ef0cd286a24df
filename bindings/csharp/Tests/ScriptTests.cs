// Loading, failed loads, the script's texts in both forms, and the arguments
// the binding refuses.
using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;

namespace Murmex.Tests
{
    internal static class ScriptTests
    {
        [Test]
        private static void AFailedLoadCarriesTheLoadersRecord()
        {
            byte[] misspelt = Scripts.Lines("MurmexSrcFile", "title = \"x\"");
            var failure = Check.Throws<LoadException>(() => Script.FromBytes(misspelt, true));
            Check.Equal(-3, failure.Code, "code");
            Check.Equal(2, failure.Line, "line");
            Check.Equal("Syntax error: TITLE expected", failure.Message, "message");
            Check.True(failure.Detail.Length > 0, "a detail in words");
        }

        [Test]
        private static void AMissingFileIsALoadFailure()
        {
            string path = Path.Combine(Path.GetTempPath(), "murmex-no-such-script.chr");
            // Caught as the one exception every failure is.
            var failure = Check.Throws<MurmexException>(() => Script.Load(path, plain: true));
            Check.Equal(-1, failure.Code, "the loader's code for a file it cannot open");
            Check.True(failure is LoadException, "a load failure");
            // The system's reason follows the path, in the words of the locale.
            int named = failure.Message.IndexOf(path + ": ", StringComparison.Ordinal);
            Check.True(named >= 0 && failure.Message.Length > named + path.Length + 2, failure.Message);
            Check.Equal(failure.Message, failure.Detail, "detail");
        }

        [Test]
        private static void LoadsFromAFileAsFromBytes()
        {
            string path = Path.GetTempFileName();
            try
            {
                File.WriteAllBytes(path, Scripts.Play);
                using (Script script = Script.Load(path, true))
                {
                    Check.Equal("Intro,Bob", string.Join(",", script.Characters), "characters");
                    Check.Equal(4, script.Colors.Text.Red, "text colour");
                    Check.Equal(3, script.Colors.Window.Blue, "window colour");
                }
            }
            finally
            {
                File.Delete(path);
            }
        }

        // The binding copies what the library decoded; it never decodes itself.
        [Test]
        private static void Windows1252TextsComeBothRawAndDecoded()
        {
            using (Script script = Script.FromBytes(Scripts.Play, true))
            using (Game game = Scripts.Started(script))
            {
                Check.Equal("Caf\u00E9 \u20AC", script.Title, "title");
                Check.Bytes(Scripts.Raw("Caf\xE9 \x80"), script.TitleBytes, "title bytes");
                Check.Equal("Hello there, caf\u00E9.", game.Answer, "answer without markers");
                Check.Bytes(Scripts.Raw("Hello &there, caf\xE9."), game.AnswerBytes, "answer bytes");

                Question count = game.Questions[Scripts.Count];
                Check.Equal("Count", count.Label, "label");
                Check.Equal("&Count", count.Text, "text");
                Check.Bytes(Scripts.Raw("&Count"), count.Bytes, "bytes");
                Check.Equal((int)'C', count.Mnemonic, "mnemonic");
                Check.Equal(0, game.Questions[Scripts.Bye].Mnemonic, "no mnemonic");
            }
        }

        [Test]
        private static void RefusesBadArguments()
        {
            using (Script script = Script.FromBytes(Scripts.Play, true))
            using (Game game = script.NewGame())
            {
                Check.Throws<ArgumentNullException>(() => Script.FromBytes(null), "FromBytes(null)");
                Check.Throws<ArgumentNullException>(() => Script.Load(null), "Load(null)");
                Check.Throws<ArgumentNullException>(() => game.Start((string)null), "Start(null)");
                Check.Throws<ArgumentNullException>(() => game.Restore(null), "Restore(null)");
                Check.Throws<ArgumentNullException>(() => game.Variables[(string)null] = 1, "Variables[null]");
                Check.Throws<ArgumentNullException>(() => game.On(EventKind.Money, null), "On(kind, null)");
                Check.Throws<ArgumentOutOfRangeException>(() => script.CharacterBytes(2), "CharacterBytes(2)");
                Check.Throws<MurmexException>(() => game.Choose(0), "Choose before Start");

                var unknown = Check.Throws<MurmexException>(() => game.Start("Nobody"), "Start(\"Nobody\")");
                Check.Equal(-6, unknown.Code, "code of an unknown character");
                Check.True(unknown.Message.Length > 0, "the game words the failure");

                game.Start("Intro");
                foreach (int index in new[] { -1, 3, int.MaxValue })
                {
                    Check.Throws<ArgumentOutOfRangeException>(() => game.Choose(index), "Choose(" + index + ")");
                }
                Check.Equal("Intro", game.Character, "a refusal changes nothing");
            }
        }

        // The library reads a name or a path up to its first zero byte, so one
        // holding a zero would name something else.
        [Test]
        private static void NamesAndPathsHoldingAZeroByteAreRefused()
        {
            string path = Path.GetTempFileName();
            try
            {
                File.WriteAllBytes(path, Scripts.Play);
                using (Script script = Script.FromBytes(Scripts.Play, true))
                using (Game game = script.NewGame())
                {
                    int value;
                    var refused = new Dictionary<string, Action>
                    {
                        { "Load", () => Script.Load(path + "\0x", true) },
                        { "Start", () => game.Start("Intro\0x") },
                        { "Start(bytes)", () => game.Start(Scripts.Raw("Bob\0")) },
                        { "set", () => game.Variables["flag\0x"] = 1 },
                        { "TryGetValue", () => game.Variables.TryGetValue("flag\0x", out value) },
                        { "Remove", () => game.Variables.Remove(Scripts.Raw("flag\0x")) },
                    };
                    foreach (KeyValuePair<string, Action> call in refused)
                    {
                        Check.Throws<ArgumentException>(call.Value, call.Key);
                    }
                    Check.Equal("", game.Character, "nothing started");
                    Check.Equal(0, game.Variables.Count(), "nothing set");
                }
            }
            finally
            {
                File.Delete(path);
            }
        }
    }
}
