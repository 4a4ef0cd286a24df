// Runs every [Test] method of the test classes, prints each failure and ends
// with the tally; the exit status is 1 when anything failed.
using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;

namespace Murmex.Tests
{
    [AttributeUsage(AttributeTargets.Method)]
    internal sealed class TestAttribute : Attribute
    {
    }

    internal sealed class CheckFailed : Exception
    {
        public CheckFailed(string message) : base(message)
        {
        }
    }

    internal static class Check
    {
        public static void Equal<T>(T expected, T actual, string what = "")
        {
            if (!EqualityComparer<T>.Default.Equals(expected, actual))
            {
                throw new CheckFailed(what + " expected <" + expected + "> but was <" + actual + ">");
            }
        }

        public static void Bytes(byte[] expected, byte[] actual, string what = "")
        {
            if (!expected.SequenceEqual(actual))
            {
                throw new CheckFailed(what + " expected bytes " + BitConverter.ToString(expected) + " but were " +
                                      BitConverter.ToString(actual));
            }
        }

        public static void True(bool condition, string what)
        {
            if (!condition)
            {
                throw new CheckFailed(what);
            }
        }

        public static TException Throws<TException>(Action action, string what = "") where TException : Exception
        {
            try
            {
                action();
            }
            catch (TException expected)
            {
                return expected;
            }
            catch (Exception other)
            {
                throw new CheckFailed(what + " threw " + other.GetType().Name + " (" + other.Message + "), not " +
                                      typeof(TException).Name);
            }
            throw new CheckFailed(what + " threw nothing, not " + typeof(TException).Name);
        }
    }

    internal static class TestRunner
    {
        private static int Main()
        {
            int passed = 0;
            int failed = 0;
            IEnumerable<MethodInfo> tests = typeof(TestRunner).Assembly.GetTypes()
                .OrderBy(type => type.Name)
                .SelectMany(type => type.GetMethods(BindingFlags.Static | BindingFlags.Public | BindingFlags.NonPublic))
                .Where(method => method.IsDefined(typeof(TestAttribute), false));
            foreach (MethodInfo test in tests)
            {
                string name = test.DeclaringType.Name + "." + test.Name;
                try
                {
                    test.Invoke(null, null);
                    passed++;
                }
                catch (TargetInvocationException wrapped)
                {
                    failed++;
                    Exception cause = wrapped.InnerException;
                    Console.Write("FAIL " + name + ": " +
                                  (cause is CheckFailed ? cause.Message : cause.ToString()) + "\n");
                }
            }
            Console.Write(passed + " passed, " + failed + " failed\n");
            return failed == 0 ? 0 : 1;
        }
    }
}
