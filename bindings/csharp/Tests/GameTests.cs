// Playing: listeners and their removal, save and restore, games that share a
// script, line ids and lookahead, and handles disposed early or twice.
using System;
using System.Collections.Generic;
using System.Linq;
using System.Text;

namespace Murmex.Tests
{
    internal static class GameTests
    {
        [Test]
        private static void ListenersHearEachKindOfChange()
        {
            using (Script script = Script.FromBytes(Scripts.Play, true))
            using (Game game = Scripts.Started(script))
            {
                var heard = new List<GameEvent>();
                foreach (EventKind kind in Enum.GetValues(typeof(EventKind)))
                {
                    game.On(kind, heard.Add);
                }
                Check.Equal(Step.Continued, game.Choose(Scripts.Count), "count");
                Check.Equal(Step.Continued, game.Choose(Scripts.Pay), "pay");
                Check.Equal(Step.Switched, game.Choose(Scripts.GoToBob), "to Bob");
                Check.Equal(Step.Switched, game.Choose(0), "back");
                Check.Equal("Ended", game.Choose(Scripts.Bye).ToString(), "bye");

                Check.Equal("Variable Money HandOver HandOver Ended",
                            string.Join(" ", heard.Select(heardEvent => heardEvent.Kind)), "kinds");
                GameEvent count = heard[0];
                Check.Equal("count", count.Name, "variable name");
                Check.Equal(3, count.Value, "value");
                Check.Equal(0, count.Previous, "previous");
                Check.True(count.Present, "present");
                Check.Equal(2, heard[1].Value, "money");
                Check.Equal("Bob", heard[2].Name, "hand-over");
                Check.Equal("Bye.", heard[4].Answer, "ending answer");
            }
        }

        [Test]
        private static void AListenerRemovedInsideACallbackHearsNothingMore()
        {
            using (Script script = Script.FromBytes(Scripts.Play, true))
            using (Game game = Scripts.Started(script))
            {
                var heard = new List<string>();
                uint second = 0;
                uint first = 0;
                first = game.On(EventKind.Variable, change =>
                {
                    heard.Add("first " + change.Name);
                    game.Off(first);
                    game.Off(second);
                });
                second = game.On(EventKind.Variable, change => heard.Add("second " + change.Name));
                uint third = game.On(EventKind.Variable, change => heard.Add("third " + change.Name));

                game.Variables["a"] = 1;
                game.Variables["b"] = 2;
                Check.Equal("first a, third a, third b", string.Join(", ", heard), "heard");
                Check.True(game.Off(third), "a listener is removed once");
                Check.Equal(-6, Check.Throws<MurmexException>(() => game.Off(third), "then its id names nothing").Code,
                            "code of an unknown id");
            }
        }

        [Test]
        private static void EventKindsGoByTheirCrossLanguageNames()
        {
            var names = new Dictionary<EventKind, string>
            {
                { EventKind.Variable, "variable" }, { EventKind.Money, "money" },
                { EventKind.HandOver, "handover" }, { EventKind.Ended, "ended" },
                { EventKind.ItemGiven, "item-given" }, { EventKind.ItemTaken, "item-taken" },
                { EventKind.Restored, "restored" }, { EventKind.Reset, "reset" },
            };
            Check.Equal(Enum.GetValues(typeof(EventKind)).Length, names.Count, "every kind is named");
            foreach (KeyValuePair<EventKind, string> kind in names)
            {
                Check.Equal(kind.Value, kind.Key.Name(), "name of " + kind.Key);
                Check.Equal(kind.Key, EventKinds.Parse(kind.Value), "kind named " + kind.Value);
            }
            using (Script script = Script.FromBytes(Scripts.Play, plain: true))
            using (Game game = Scripts.Started(script))
            {
                var heard = new List<int>();
                game.On("money", change => heard.Add(change.Value));
                game.Money = 4;
                Check.Equal("4", string.Join(",", heard), "heard by name");
                foreach (string unknown in new[] { "Money", "hand-over", "" })
                {
                    Check.Throws<ArgumentOutOfRangeException>(() => game.On(unknown, change => { }), unknown);
                }
            }
        }

        [Test]
        private static void AnObserverHearsItsVariableOnly()
        {
            using (Script script = Script.FromBytes(Scripts.Play, true))
            using (Game game = Scripts.Started(script))
            {
                var heard = new List<string>();
                uint id = game.Observe("count", change => heard.Add(change.Name + "=" + change.Value));
                game.Variables["counted"] = 1;
                game.Choose(Scripts.Count);
                game.Variables.Remove("count");
                Check.Equal("count=3,count=0", string.Join(",", heard), "heard");

                game.Unobserve(id);
                game.Variables["count"] = 5;
                Check.Equal(2, heard.Count, "nothing after Unobserve");
                Check.Equal(-6, Check.Throws<MurmexException>(() => game.Unobserve(id), "twice").Code, "code");
                Check.Throws<ArgumentOutOfRangeException>(() => game.Observe("", change => { }), "an empty name");
            }
        }

        // The library keeps 19 bytes of a name: a longer one would be a
        // different variable's name cut short.
        [Test]
        private static void NamesOverNineteenBytesAreRefused()
        {
            using (Script script = Script.FromBytes(Scripts.Play, true))
            using (Game game = Scripts.Started(script))
            {
                string longest = new string('n', 19);
                game.Variables[longest] = 1;
                Check.Equal(1, game.Variables[longest], "19 bytes");
                var refused = new Dictionary<string, Action>
                {
                    { "set", () => game.Variables[longest + "x"] = 2 },
                    { "set, 20 bytes of UTF-8", () => game.Variables[new string('n', 18) + "\u00E9"] = 2 },
                    { "Observe", () => game.Observe(longest + "x", change => { }) },
                };
                foreach (KeyValuePair<string, Action> call in refused)
                {
                    Check.Equal(-13, Check.Throws<MurmexException>(call.Value, call.Key).Code, call.Key);
                }
                Check.Equal(1, game.Variables[longest], "the variable of the first 19 bytes is unchanged");
            }
        }

        [Test]
        private static void AListenersExceptionReachesTheCaller()
        {
            using (Script script = Script.FromBytes(Scripts.Play, true))
            using (Game game = Scripts.Started(script))
            {
                uint thrower = game.On(EventKind.Money, change => { throw new ApplicationException("from a listener"); });
                var thrown = Check.Throws<ApplicationException>(() => game.Money = 5, "a throwing listener");
                Check.Equal("from a listener", thrown.Message, "message");
                game.Off(thrower);

                // A listener may read the game but not change it.
                game.On(EventKind.Money, change => game.Money = 0);
                Check.Throws<InvalidOperationException>(() => game.Money = 7, "a change from a listener");
                Check.Equal(7, game.Money, "the outer change stands");
            }
        }

        [Test]
        private static void RestoreBringsBackWhatSaveWrote()
        {
            using (Script script = Script.FromBytes(Scripts.Play, true))
            using (Game game = Scripts.Started(script))
            {
                game.Choose(Scripts.Count);
                game.Money = 11;
                game.Variables["named \u00E9"] = -4;
                byte[] saved = game.Save();
                string[] labels = Scripts.Labels(game);

                game.Choose(Scripts.Pay);
                game.Variables.Remove("count");
                game.Restore(saved);
                Check.Equal("Counted.", game.Answer, "answer");
                Check.Equal(string.Join("|", labels), string.Join("|", Scripts.Labels(game)), "questions");
                Check.Equal(11, game.Money, "money");
                Check.Equal("count=3 named \u00E9=-4",
                            string.Join(" ", game.Variables.OrderBy(pair => pair.Key).Select(pair => pair.Key + "=" + pair.Value)),
                            "variables");
                Check.Bytes(saved, game.Save(), "saved again");

                byte[] damaged = saved.Take(saved.Length / 2).ToArray();
                var refused = Check.Throws<MurmexException>(() => game.Restore(damaged), "a damaged save");
                Check.Equal(-10, refused.Code, "code");
                Check.Equal(11, game.Money, "a refusal changes nothing");

                // An edited script takes the save, unless strictly.
                byte[] edited = Scripts.Raw(Encoding.GetEncoding("iso-8859-1").GetString(Scripts.Play)
                                                .Replace("Bob here.", "Bob is here."));
                using (Script editedScript = Script.FromBytes(edited, true))
                using (Game other = editedScript.NewGame())
                {
                    Check.Equal(-10, Check.Throws<MurmexException>(() => other.RestoreStrictly(saved), "strictly").Code,
                                "code of a strict refusal");
                    Check.Equal("", other.Character, "a strict refusal changes nothing");
                    other.Restore(saved);
                    Check.Equal(11, other.Money, "restored into the edited script");
                }
                game.RestoreStrictly(saved);
                Check.Bytes(saved, game.Save(), "restored strictly into its own script");

                game.Reset();
                Check.Equal("", game.Character, "no conversation after a reset");
                Check.Equal(0, game.Variables.Count(), "no variables after a reset");
            }
        }

        [Test]
        private static void GamesOverOneScriptAreIndependent()
        {
            Script script = Script.FromBytes(Scripts.Play, true);
            using (Game first = Scripts.Started(script))
            using (Game second = Scripts.Started(script))
            {
                // Games keep the script alive after the caller's hold is gone.
                script.Dispose();
                first.Choose(Scripts.GoToBob);
                first.Variables["only"] = 1;
                Check.Equal("Bob", first.Character, "first");
                Check.Equal("Intro", second.Character, "second");
                Check.True(!second.Variables.ContainsKey("only"), "memory is the game's own");
                Check.Equal(Step.Continued, second.Choose(Scripts.Count), "the second plays on");
            }
        }

        [Test]
        private static void LineIdsNameWhatIsShownAndLookaheadHoldsTheNextScreen()
        {
            Game game;
            using (Script script = Script.Load(Scripts.Demo, plain: true))
            {
                game = script.NewGame();
            }
            // The script is disposed of: the game still reads its lines.
            using (game)
            {
                game.Start("Intro");
                IReadOnlyList<Line> ahead = game.Lookahead(1);
                // Looking ahead moved nothing.
                Check.Equal("Intro/S0/1/A", game.AnswerLineId, "answer");
                Check.Equal("Intro/S0/3/Q", game.Questions[0].LineId, "question");

                game.Choose(0);
                var shown = new List<string> { Described(game.AnswerLineId, game.Answer, LinePart.Answer, 1) };
                shown.AddRange(game.Questions.Select(question =>
                    Described(question.LineId, question.Label, LinePart.Question, 1)));
                var seen = new HashSet<string>(
                    ahead.Select(line => Described(line.Id, line.Text, line.Part, line.Depth)));
                foreach (string line in shown)
                {
                    Check.True(seen.Contains(line), line + " is ahead");
                }
                foreach (int depth in new[] { 0, 4 })
                {
                    Check.Throws<ArgumentOutOfRangeException>(() => game.Lookahead(depth), "depth " + depth);
                }
            }
        }

        private static string Described(string id, string text, LinePart part, int depth)
        {
            return id + " | " + text + " | " + part + " | " + depth;
        }

        [Test]
        private static void DisposingTwiceIsSafeAndUseAfterwardIsRefused()
        {
            Script script = Script.FromBytes(Scripts.Play, true);
            Game game = Scripts.Started(script);
            uint id = game.On(EventKind.Money, change => { });
            game.Dispose();
            game.Dispose();
            script.Dispose();
            script.Dispose();
            Check.Throws<ObjectDisposedException>(() => game.Choose(0), "Choose");
            Check.Throws<ObjectDisposedException>(() => game.Off(id), "Off");
            Check.Throws<ObjectDisposedException>(() => script.NewGame(), "NewGame");
        }

        // The library is still telling the other listeners when one disposes
        // the game: they hear nothing more, and the game goes once the call is back.
        [Test]
        private static void DisposingInsideAListenerSilencesTheOthers()
        {
            using (Script script = Script.FromBytes(Scripts.Play, true))
            {
                Game game = Scripts.Started(script);
                var heard = new List<string>();
                game.On(EventKind.Money, change =>
                {
                    heard.Add("first");
                    game.Dispose();
                });
                game.On(EventKind.Money, change => heard.Add("second"));
                game.Money = 3;
                Check.Equal("first", string.Join(", ", heard), "heard");
                Check.Throws<ObjectDisposedException>(() => game.Money = 4, "after the call");
            }
        }
    }
}
